#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/header_values.h"
#include "engine/run_counters.h"
#include "report/finding_groups.h"
#include "report/summary_figures.h"

namespace talveron {

/// What the HTML report shows of one validated load file.
struct HtmlFileSection {
    std::string loadPath;
    std::string outcome;           ///< how the run ended, as the operator reads it
    bool errorsOrStopped = false;  ///< the outcome is shown as a failure
    RunCounters counters;
    std::optional<HeaderValues> header;     ///< once line 1 was checked
    std::optional<SummaryFigures> summary;  ///< when the summary report was written
    const FindingGroups* findings = nullptr;
};

/// The whole HTML report: one section per load file, in command-line order.
struct HtmlReport {
    std::string producedBy;  ///< program and version
    std::string date;        ///< when the runs took place, as shown
    bool masked = false;     ///< personal data was masked in the records shown
    std::vector<HtmlFileSection> files;
};

/// Writes the report as one self-contained HTML page (inline style, SVG and script; nothing
/// fetched). Every finding shown is one element with data-check, data-level and data-line.
/// Returns false when the stream failed.
bool WriteHtmlReport(std::ostream& out, const HtmlReport& report);

}  // namespace talveron
