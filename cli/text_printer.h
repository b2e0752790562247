#pragma once

#include <memory>

#include "cli/finding_printer.h"
#include "cli/terminal_colors.h"

namespace talveron {

/// The text format's part of a comparison with a baseline: after each file's summary, the three
/// counts, then the new findings and the fixed ones (at the earlier run's lines).
std::unique_ptr<FindingPrinter> MakeTextBaselinePrinter(const TerminalColors& colors);

}  // namespace talveron
