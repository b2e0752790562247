#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "run/clock.h"
#include "run/run_observer.h"

namespace talveron {

/// The one-line progress indicator of a run on a terminal: the file, the pass and its
/// percentage, the pass's throughput and the elapsed time, redrawn in place at most ten times a
/// second and erased by `erase`. Called on the run's thread; a call costs a clock reading at most.
class ProgressLine {
public:
    /// `fileBytes` is the load file's size; the line is cut to `columns` - 1 characters.
    ProgressLine(std::ostream& terminal, const Clock& clock, std::string file,
                 std::int64_t fileBytes, int columns);

    void phase(RunPhase phase);
    void progress(int passPercent);
    void elapsed(std::string_view text);
    /// Takes the line off the terminal, when one was drawn.
    void erase();

private:
    /// Draws the line unless it was drawn less than a tenth of a second ago.
    void drawWhenDue();

    std::ostream& terminal_;
    const Clock& clock_;
    std::string file_;
    std::int64_t fileBytes_;
    std::size_t columns_;
    RunPhase phase_ = RunPhase::Registering;
    int percent_ = 0;
    std::string elapsed_ = "0:00:00";
    std::chrono::steady_clock::time_point passStart_;
    std::chrono::steady_clock::time_point lastDraw_;
    bool drawn_ = false;
};

}  // namespace talveron
