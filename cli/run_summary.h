#pragma once

#include <ostream>

#include "cli/terminal_colors.h"
#include "run/validation_run.h"

namespace talveron {

/// The readable summary of one run: status, the twelve counters, the stop reason and the files
/// written; the status and the warnings and errors counted coloured when colour is on.
void PrintRunSummary(std::ostream& out, const RunOutcome& outcome, const TerminalColors& colors);

/// Exit status of one run: 0 validated without ERROR, 1 ERROR counted or stopped by a limit,
/// 2 not validated or an output not written.
int ExitStatusOf(const RunOutcome& outcome);

/// How the run ended, for the operator: "validated, errors found", "stopped automatically: ..."
std::string StatusLine(const RunOutcome& outcome);

}  // namespace talveron
