#pragma once

#include <cstdint>
#include <string_view>

#include "engine/finding.h"
#include "engine/run_counters.h"

namespace talveron {

/// The stages of a run, for displays that show what the run is doing.
enum class RunPhase { Registering, Validating, Summarising, Finished };

/// What a run tells its front end while it works. Every call comes from the thread that executes
/// the run; implementations that draw on a screen marshal and throttle. Views are valid only
/// during the call. Default implementations ignore the event.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    virtual void phaseChanged(RunPhase) {}
    /// The information frame's caption and line ("ERROR Information", "message Line:1,234").
    virtual void informationChanged(std::string_view /*caption*/, std::string_view /*text*/) {}
    /// The two progress indicators in percent (0..100), sent when a shown value changes.
    virtual void progressChanged(int /*pass*/, int /*overall*/) {}
    /// The elapsed time "h:nn:ss", sent when the shown text changes.
    virtual void elapsedChanged(std::string_view /*text*/) {}
    /// The counters after every record of the main pass.
    virtual void countersChanged(const RunCounters&) {}
    /// The line the main pass is about to check.
    virtual void lineStarted(std::int64_t /*lineNumber*/, std::string_view /*line*/) {}
    /// Every counted finding, whether or not the output options let it into the results file.
    virtual void findingReported(const Finding&, const FindingPlace&) {}
};

}  // namespace talveron
