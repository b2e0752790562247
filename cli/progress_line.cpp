#include "cli/progress_line.h"

#include <algorithm>
#include <cstdio>

namespace talveron {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressLine::ProgressLine(std::ostream& terminal, const Clock& clock, std::string file,
                           std::int64_t fileBytes, int columns)
    : terminal_(terminal),
      clock_(clock),
      file_(std::move(file)),
      fileBytes_(fileBytes),
      columns_(static_cast<std::size_t>(columns > 1 ? columns - 1 : 1)),
      passStart_(clock.steadyNow()) {}

void ProgressLine::phase(RunPhase phase) {
    if (phase == RunPhase::Finished) {
        erase();
        return;
    }
    phase_ = phase;
    percent_ = 0;
    passStart_ = clock_.steadyNow();
    drawWhenDue();
}

void ProgressLine::progress(int passPercent) {
    percent_ = passPercent;
    drawWhenDue();
}

void ProgressLine::elapsed(std::string_view text) {
    elapsed_ = text;
    drawWhenDue();
}

void ProgressLine::drawWhenDue() {
    const auto now = clock_.steadyNow();
    if (drawn_ && now - lastDraw_ < kRedrawInterval) return;
    lastDraw_ = now;
    char figures[96];
    if (phase_ == RunPhase::Summarising) {
        std::snprintf(figures, sizeof figures, "  summary report %3d%%  %s", percent_,
                      elapsed_.c_str());
    } else {
        const double seconds = std::chrono::duration<double>(now - passStart_).count();
        const double megabytes = static_cast<double>(fileBytes_) * percent_ / 100.0 / 1e6;
        std::snprintf(figures, sizeof figures, "  pass %d/2 %3d%%  %7.1f MB/s  %s",
                      phase_ == RunPhase::Registering ? 1 : 2, percent_,
                      seconds > 0 ? megabytes / seconds : 0.0, elapsed_.c_str());
    }
    const std::string_view shown(figures);
    std::string file = file_;
    if (file.size() + shown.size() > columns_) {
        const std::size_t room = columns_ > shown.size() + 3 ? columns_ - shown.size() - 3 : 0;
        file = "..." + file.substr(file.size() - std::min(room, file.size()));
    }
    std::string line = "\r" + file + std::string(shown);
    if (line.size() > columns_ + 1) line.resize(columns_ + 1);
    terminal_ << line << "\x1b[K" << std::flush;
    drawn_ = true;
}

void ProgressLine::erase() {
    if (!drawn_) return;
    terminal_ << "\r\x1b[K" << std::flush;
    drawn_ = false;
}

}  // namespace talveron
