#pragma once

#include <ostream>

#include "report/summary_figures.h"

namespace talveron {

/// WriteSummaryReport: the report's bytes (CR LF line ends) onto `out`. Returns false when the
/// stream failed.
bool WriteSummaryReport(std::ostream& out, const SummaryFigures& figures);

}  // namespace talveron
