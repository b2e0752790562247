#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace talveron {

/// Works through a sequence of items on several threads and hands the results back in the order
/// of the items. `produce` fills the next item (false at the end), `process` turns an item into its
/// result on any of the threads, `consume` takes the results one by one, in item order (false
/// stops the work). produce and consume run on the calling thread only, so whatever they touch
/// needs no lock; process must touch nothing but its item and its result. With one thread,
/// everything runs on the calling thread. An exception from any of the three ends run() with it,
/// after the threads have stopped.
template <class Item, class Result>
class OrderedPipeline {
public:
    using Produce = std::function<bool(Item&)>;
    using Process = std::function<void(const Item&, Result&)>;
    using Consume = std::function<bool(const Item&, Result&)>;

    explicit OrderedPipeline(int threads) : threads_(std::max(1, threads)) {}

    void run(const Produce& produce, const Process& process, const Consume& consume) {
        if (threads_ > 1) {
            Shared shared(threads_, process);
            // Where no thread could be started, the work is done here all the same.
            if (shared.started()) {
                runShared(shared, produce, consume);
                return;
            }
        }
        Slot slot;
        while (produce(slot.item)) {
            process(slot.item, slot.result);
            if (!consume(slot.item, slot.result)) return;
        }
    }

private:
    struct Slot {
        Item item;
        Result result;
        bool done = false;
        std::exception_ptr error;
    };

    /// The slots and the threads of one run(); stops and joins the threads when it goes.
    class Shared {
    public:
        /// Starts the threads; as many as the system lets it, which may be none.
        Shared(int threads, const Process& process)
            : slots(static_cast<std::size_t>(threads) * 2), process_(process) {
            workers_.reserve(static_cast<std::size_t>(threads));
            try {
                for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                // Out of threads: the ones started do the work.
            }
        }
        ~Shared() { stop(); }
        bool started() const { return !workers_.empty(); }
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;

        /// Queues a filled slot for the threads.
        void submit(std::size_t index) {
            {
                const std::lock_guard lock(mutex_);
                slots[index].done = false;
                slots[index].error = nullptr;
                queue_.push_back(index);
            }
            workReady_.notify_one();
        }

        /// Waits until the slot has its result; rethrows what processing it threw.
        Slot& await(std::size_t index) {
            Slot& slot = slots[index];
            std::unique_lock lock(mutex_);
            resultReady_.wait(lock, [&] { return slot.done; });
            if (slot.error) std::rethrow_exception(slot.error);
            return slot;
        }

        std::vector<Slot> slots;

    private:
        void work() {
            for (;;) {
                std::size_t index = 0;
                {
                    std::unique_lock lock(mutex_);
                    workReady_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
                    if (stopping_) return;
                    index = queue_.front();
                    queue_.pop_front();
                }
                Slot& slot = slots[index];
                try {
                    process_(slot.item, slot.result);
                } catch (...) {
                    slot.error = std::current_exception();
                }
                {
                    const std::lock_guard lock(mutex_);
                    slot.done = true;
                }
                resultReady_.notify_one();
            }
        }

        void stop() {
            {
                const std::lock_guard lock(mutex_);
                stopping_ = true;
            }
            workReady_.notify_all();
            for (std::thread& worker : workers_) worker.join();
        }

        const Process& process_;
        std::mutex mutex_;
        std::condition_variable workReady_;
        std::condition_variable resultReady_;
        std::deque<std::size_t> queue_;
        bool stopping_ = false;
        std::vector<std::thread> workers_;
    };

    static void runShared(Shared& shared, const Produce& produce, const Consume& consume) {
        std::uint64_t produced = 0;
        std::uint64_t consumed = 0;
        bool more = true;
        for (;;) {
            // Keep every slot busy: the threads work while the oldest result is awaited.
            while (more && produced - consumed < shared.slots.size()) {
                const std::size_t index = produced % shared.slots.size();
                if (!produce(shared.slots[index].item)) {
                    more = false;
                    break;
                }
                shared.submit(index);
                ++produced;
            }
            if (consumed == produced) return;
            Slot& slot = shared.await(consumed % shared.slots.size());
            if (!consume(slot.item, slot.result)) return;
            ++consumed;
        }
    }

    int threads_;
};

}  // namespace talveron
