#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/status.h"
#include "engine/header_values.h"
#include "engine/run_counters.h"
#include "report/summary_figures.h"
#include "run/run_paths.h"

namespace talveron {

enum class RunStatus {
    Validated,       ///< both passes ran to the end
    Cancelled,       ///< the operator cancelled
    StoppedByLimit,  ///< an automatic-cancel limit fired; see cancelReason
    TooSmall,        ///< fewer than 323 bytes: "File is too small!"
    Unreadable,      ///< the load file could not be read: "Error Reading Load File!"
    Refused,         ///< an output path would be the load file itself; nothing was touched
    TooLarge,        ///< a line over kMaxLineLength, too many records, or memory ran out
};

/// How a run ended and what it wrote; the front end turns it into messages.
struct RunOutcome {
    RunStatus status = RunStatus::Validated;
    RunPaths paths;
    std::string problem;  ///< for TooSmall, Unreadable, Refused and TooLarge: which file and why
    std::string cancelReason;  ///< CancelReason of an automatic cancel
    RunCounters counters;
    std::int64_t findingCount = 0;       ///< findings written to the results file
    bool resultsWritten = false;         ///< the results file was created in this run
    bool reportWritten = false;          ///< the summary report was created in this run
    Status resultsStatus;                ///< a failure to delete, create or write the results file
    Status reportStatus;                 ///< the same for the report
    std::string elapsed;                 ///< the last elapsed time shown
    std::optional<HeaderValues> header;  ///< the header's values once line 1 was checked
    std::optional<SummaryFigures> summary;  ///< the report's figures when the report was written
};

/// What the front ends call a way a run ended, in one place.
struct RunStatusWords {
    std::string_view name;     ///< short and machine-readable: "too small", "stopped by limit"
    std::string_view message;  ///< the operator's message ("File is too small!"); empty when the
                               ///< run's own problem text says it
};

const RunStatusWords& WordsOf(RunStatus status);

/// The problems of a run that could not validate or write its outputs, one line each, naming
/// the file and why; empty when there is none.
std::vector<std::string> RunProblems(const RunOutcome& outcome);

/// Exit status of one run: 0 validated without ERROR, 1 ERROR counted or stopped by a limit,
/// 2 not validated or an output not written.
int ExitStatusOf(const RunOutcome& outcome);

/// How the run ended, for the operator: "validated, errors found", "stopped automatically: ..."
std::string StatusLine(const RunOutcome& outcome);

}  // namespace talveron
