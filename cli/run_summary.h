#pragma once

#include <ostream>

#include "run/validation_run.h"

namespace talveron {

/// The readable summary of one run: status, the twelve counters, the stop reason and the files
/// written.
void PrintRunSummary(std::ostream& out, const RunOutcome& outcome);

/// Exit status of one run: 0 validated without ERROR, 1 ERROR counted or stopped by a limit,
/// 2 not validated or an output not written.
int ExitStatusOf(const RunOutcome& outcome);

}  // namespace talveron
