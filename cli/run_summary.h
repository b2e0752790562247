#pragma once

#include <ostream>

#include "cli/terminal_colors.h"
#include "run/validation_run.h"

namespace talveron {

/// The readable summary of one run: status, the twelve counters, the stop reason and the files
/// written; the status and the warnings and errors counted coloured when colour is on.
void PrintRunSummary(std::ostream& out, const RunOutcome& outcome, const TerminalColors& colors);

}  // namespace talveron
