#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/calendar.h"
#include "run/clock.h"
#include "run/run_observer.h"

namespace talveron {

/// Elapsed time "h:nn:ss": hours of the clock part without a leading zero (after 24 hours the
/// hours start again from 0), minutes and seconds with two digits.
std::string FormatElapsed(std::int64_t seconds);

/// RunStart, the elapsed time and the present moment the date checks use.
/// With an "as of" moment, that moment is RunStart and the present; elapsed time stays real.
class RunTimer {
public:
    RunTimer(const Clock& clock, RunObserver& observer, std::optional<LocalDateTime> asOf);

    /// Takes RunStart and starts the elapsed time.
    void start();
    /// Reads the clock and tells the observer the elapsed time when the shown text changes.
    /// Without an "as of" moment the present is re-read from the clock then (at most once a
    /// second); with one it stays that moment. Returns the elapsed seconds it read.
    std::int64_t update();

    const LocalDateTime& runStart() const { return runStart_; }
    const LocalDateTime& present() const { return present_; }
    std::int64_t elapsedSeconds() const;
    const std::string& text() const { return text_; }

private:
    const Clock& clock_;
    RunObserver& observer_;
    std::optional<LocalDateTime> asOf_;
    LocalDateTime runStart_;
    LocalDateTime present_;
    std::chrono::steady_clock::time_point steadyStart_;
    std::int64_t shownSeconds_ = -1;
    std::string text_;
};

}  // namespace talveron
