#include "ui/run_display_buffer.h"

namespace talveron {

void RunDisplayBuffer::publishLocked() {
    if (runInformation_) published_.information = std::move(runInformation_);
    if (runCounters_) published_.counters = runCounters_;
    runInformation_.reset();
    runCounters_.reset();
    stateWanted_.store(false, std::memory_order_relaxed);
}

void RunDisplayBuffer::publish() {
    const std::lock_guard lock(mutex_);
    publishLocked();
}

void RunDisplayBuffer::phaseChanged(RunPhase phase) {
    const std::lock_guard lock(mutex_);
    published_.phase = phase;
    publishLocked();
}

void RunDisplayBuffer::informationChanged(std::string_view caption, std::string_view text) {
    if (runInformation_) {
        runInformation_->first.assign(caption);
        runInformation_->second.assign(text);
    } else {
        runInformation_.emplace(caption, text);
    }
    if (Wanted(stateWanted_)) publish();
}

void RunDisplayBuffer::progressChanged(int pass, int overall) {
    const std::lock_guard lock(mutex_);
    published_.progress.emplace(pass, overall);
    publishLocked();
}

void RunDisplayBuffer::elapsedChanged(std::string_view text) {
    const std::lock_guard lock(mutex_);
    published_.elapsed.emplace(text);
    publishLocked();
}

void RunDisplayBuffer::countersChanged(const RunCounters& counters) {
    runCounters_ = counters;
    if (Wanted(stateWanted_)) publish();
}

void RunDisplayBuffer::lineStarted(std::int64_t lineNumber, std::string_view line) {
    if (!Wanted(lineWanted_)) return;
    const std::lock_guard lock(mutex_);
    published_.line.emplace(lineNumber, std::string(line));
    lineWanted_.store(false, std::memory_order_relaxed);
}

RunDisplayBuffer::Changes RunDisplayBuffer::take() {
    const std::lock_guard lock(mutex_);
    Changes changes = std::exchange(published_, Changes{});
    lineWanted_.store(true, std::memory_order_relaxed);
    stateWanted_.store(true, std::memory_order_relaxed);
    return changes;
}

}  // namespace talveron
