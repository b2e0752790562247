#include "cli/batch.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace talveron {

std::vector<std::vector<std::size_t>> GroupBySharedOutputs(std::span<const RunPaths> paths) {
    std::vector<std::size_t> groupOf(paths.size());
    std::map<std::filesystem::path, std::size_t> groupByOutput;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t index = 0; index < paths.size(); ++index) {
        const auto results = groupByOutput.find(paths[index].results);
        const auto report = groupByOutput.find(paths[index].report);
        std::size_t group;
        if (results != groupByOutput.end()) {
            group = results->second;
        } else if (report != groupByOutput.end()) {
            group = report->second;
        } else {
            group = groups.size();
            groups.emplace_back();
        }
        groups[group].push_back(index);
        groupByOutput.emplace(paths[index].results, group);
        groupByOutput.emplace(paths[index].report, group);
    }
    return groups;
}

int RunGroups(std::size_t fileCount, const std::vector<std::vector<std::size_t>>& groups, int jobs,
              const FileTask& task, std::ostream& out, std::ostream& err) {
    int highest = 0;
    if (jobs <= 1 || groups.size() <= 1) {
        // Sequential: stream in file order (groups hold their files in order, so walk files).
        for (std::size_t index = 0; index < fileCount; ++index)
            highest = std::max(highest, task(index, out, err));
        return highest;
    }

    struct Slot {
        std::ostringstream out;
        std::ostringstream err;
        int status = 0;
        bool done = false;
    };
    std::vector<Slot> slots(fileCount);
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t nextGroup = 0;

    auto worker = [&] {
        for (;;) {
            std::size_t group;
            {
                std::lock_guard lock(mutex);
                if (nextGroup == groups.size()) return;
                group = nextGroup++;
            }
            for (std::size_t index : groups[group]) {
                const int status = task(index, slots[index].out, slots[index].err);
                std::lock_guard lock(mutex);
                slots[index].status = status;
                slots[index].done = true;
                finished.notify_all();
            }
        }
    };
    std::vector<std::thread> workers;
    const auto count = std::min<std::size_t>(static_cast<std::size_t>(jobs), groups.size());
    for (std::size_t i = 0; i < count; ++i) workers.emplace_back(worker);

    for (std::size_t index = 0; index < fileCount; ++index) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return slots[index].done; });
        lock.unlock();
        out << slots[index].out.view();
        err << slots[index].err.view();
        out.flush();
        highest = std::max(highest, slots[index].status);
        slots[index].out = std::ostringstream();
        slots[index].err = std::ostringstream();
    }
    for (std::thread& thread : workers) thread.join();
    return highest;
}

}  // namespace talveron
