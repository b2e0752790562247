#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/option_settings.h"
#include "engine/calendar.h"
#include "engine/dose_register.h"
#include "engine/header_values.h"
#include "engine/occurrence_tally.h"
#include "report/dose_ranges.h"

namespace talveron {

/// Everything the distribution summary report is made from, complete when the run has ended.
struct SummaryInputs {
    const DoseRegister& doses;
    const HeaderValues& header;
    std::int64_t errorTotal = 0;    ///< counter 11
    std::int64_t warningTotal = 0;  ///< counter 10
    const OccurrenceTally& tally;
    const OptionSettings& options;
    std::string loadPath;
    LocalDateTime date;  ///< the date printed on the first line
    /// Called with the percentage of dose-list entries done, when it changes; may be empty.
    std::function<void(int percent)> progress;
};

/// The figures of the summary report, worked out once; the .dst writer and the other reports
/// print them.
struct SummaryFigures {
    LocalDateTime date;
    std::string loadPath;
    HeaderValues header;
    std::array<std::int64_t, kDoseRangeCount> persons{};  ///< monitored persons per TEDE range
    std::array<double, kDoseRangeCount> tede{};           ///< their summed TEDE per range
    std::int64_t monitored = 0;
    std::int64_t measurable = 0;  ///< persons outside the first range
    double collectiveTede = 0;    ///< sum of the per-person totals
    double cdeTotal = 0;
    double cedeTotal = 0;
    std::int64_t intakeRecords = 0;
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
    bool occurrencesListed = false;  ///< IOS: the occurrence tables are part of the report
    std::vector<TallyEntry> errorOccurrences;    ///< the most frequent message first
    std::vector<TallyEntry> warningOccurrences;  ///< the most frequent message first
    bool someChecksOff = false;                  ///< a check the figures rely on was switched off
};

/// The report's figures: every person totalled once, in the order of their first dose record.
SummaryFigures ComputeSummaryFigures(const SummaryInputs& inputs);

}  // namespace talveron
