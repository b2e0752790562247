#pragma once

#include <atomic>

namespace talveron {

/// A request to end a run early (CANCEL, an interrupt), made by whoever started the run and read
/// by the run before every line. Only the requester writes it; the run reports how it ended in
/// its outcome. Safe to set from a signal handler: the flag is a lock-free atomic.
class CancelRequest {
public:
    void request() noexcept { requested_.store(true, std::memory_order_relaxed); }
    bool requested() const noexcept { return requested_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> requested_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace talveron
