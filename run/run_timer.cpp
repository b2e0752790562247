#include "run/run_timer.h"

#include <cstdio>

namespace talveron {

std::string FormatElapsed(std::int64_t seconds) {
    const std::int64_t clock = seconds % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", static_cast<int>(clock / 3600),
                  static_cast<int>(clock / 60 % 60), static_cast<int>(clock % 60));
    return text;
}

RunTimer::RunTimer(const Clock& clock, RunObserver& observer, std::optional<LocalDateTime> asOf)
    : clock_(clock), observer_(observer), asOf_(asOf) {}

void RunTimer::start() {
    runStart_ = asOf_ ? *asOf_ : clock_.now();
    present_ = runStart_;
    steadyStart_ = clock_.steadyNow();
    shownSeconds_ = -1;
}

std::int64_t RunTimer::elapsedSeconds() const {
    const auto elapsed = clock_.steadyNow() - steadyStart_;
    return std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
}

std::int64_t RunTimer::update() {
    const std::int64_t seconds = elapsedSeconds();
    if (seconds == shownSeconds_) return seconds;
    shownSeconds_ = seconds;
    if (!asOf_) present_ = clock_.now();
    std::string text = FormatElapsed(seconds);
    if (text != text_) {
        text_ = std::move(text);
        observer_.elapsedChanged(text_);
    }
    return seconds;
}

}  // namespace talveron
