#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "run/run_observer.h"

namespace talveron {

/// What the window shows of a run, passed from the run's thread to the display. The run writes
/// through the RunObserver calls; the display takes the changes at its own pace (ten refreshes a
/// second). The calls made for every line and every finding cost one relaxed
/// atomic load and a small copy until the display asks for a refresh; only then is anything
/// published under the lock, the line text included, once per refresh. Phase, progress and
/// elapsed-time changes (a few hundred per run) are published at once, and the Finished phase
/// publishes everything, so the display always ends on the run's final state.
class RunDisplayBuffer final : public RunObserver {
public:
    /// The changes since the previous take; an empty member did not change.
    struct Changes {
        std::optional<RunPhase> phase;
        std::optional<std::pair<std::string, std::string>> information;  ///< caption, text
        std::optional<std::pair<int, int>> progress;                     ///< pass, overall
        std::optional<std::string> elapsed;
        std::optional<RunCounters> counters;
        std::optional<std::pair<std::int64_t, std::string>> line;  ///< number, text
    };

    // Called on the run's thread.
    void phaseChanged(RunPhase phase) override;
    void informationChanged(std::string_view caption, std::string_view text) override;
    void progressChanged(int pass, int overall) override;
    void elapsedChanged(std::string_view text) override;
    void countersChanged(const RunCounters& counters) override;
    void lineStarted(std::int64_t lineNumber, std::string_view line) override;

    /// Called by the display: the changes published since the last take. Asks the run to
    /// publish its per-line state again.
    Changes take();

private:
    static bool Wanted(const std::atomic<bool>& flag) {
        return flag.load(std::memory_order_relaxed);
    }
    /// Moves the run-side state into the published changes; requires mutex_.
    void publishLocked();
    void publish();

    // Set by every take; the line and the rest of the state are asked for separately, so that
    // neither of the two calls made for every line takes the other's refresh.
    std::atomic<bool> lineWanted_{true};
    std::atomic<bool> stateWanted_{true};

    // Run side: touched by the run's thread only.
    std::optional<std::pair<std::string, std::string>> runInformation_;
    std::optional<RunCounters> runCounters_;

    std::mutex mutex_;
    Changes published_;  // guarded by mutex_
};

}  // namespace talveron
