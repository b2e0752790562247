#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "config/option_settings.h"
#include "engine/calendar.h"
#include "engine/dose_register.h"
#include "engine/header_values.h"
#include "engine/occurrence_tally.h"

namespace talveron {

/// Everything the distribution summary report prints, complete when the run has ended.
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

/// WriteSummaryReport: the report's bytes (CR LF line ends) onto `out`. Returns false when the
/// stream failed.
bool WriteSummaryReport(std::ostream& out, const SummaryInputs& inputs);

}  // namespace talveron
