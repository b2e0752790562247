#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/header_values.h"
#include "engine/run_counters.h"
#include "report/finding_groups.h"
#include "report/personal_data_mask.h"
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
    /// Hides the personal data of the records shown (except the character a finding points
    /// at); null: they are shown as read.
    const PersonalDataMask* mask = nullptr;
    std::vector<HtmlFileSection> files;
};

/// The date of runs as the report shows it: "2025-03-01 14:05".
std::string HtmlReportDate(const LocalDateTime& moment);

/// Writes the report as one self-contained HTML page (inline style, SVG and script; nothing
/// fetched). Every finding shown is one element with data-check, data-level and data-line.
/// Returns false when the stream failed.
bool WriteHtmlReport(std::ostream& out, const HtmlReport& report);

}  // namespace talveron
