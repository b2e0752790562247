#pragma once

#include <cstdint>
#include <string_view>

#include "config/option_settings.h"
#include "engine/run_counters.h"

namespace talveron {

inline constexpr std::string_view kErrorLimitMessage = "Total # of allowable errors was exceeded!";
inline constexpr std::string_view kWarningLimitMessage =
    "Total # of allowable warnings was exceeded!";
inline constexpr std::string_view kCombinedLimitMessage =
    "Combined total of allowable errors & warnings was exceeded!";
inline constexpr std::string_view kTimeLimitMessage = "Time limit on validation was exceeded!";

/// CheckRunLimits: the message of the last exceeded limit in the order errors, warnings,
/// combined, time; empty when none is exceeded or every limit is off. The time limit counts the
/// minutes of the elapsed clock time (hours 0..23).
std::string_view CheckRunLimits(const OptionSettings& options, const RunCounters& counters,
                                std::int64_t elapsedSeconds);

}  // namespace talveron
