#include "run/run_limits.h"

namespace talveron {

std::string_view CheckRunLimits(const OptionSettings& options, const RunCounters& counters,
                                std::int64_t elapsedSeconds) {
    const bool errorLimit = options.on(OptionKey::TE);
    const bool warningLimit = options.on(OptionKey::TW);
    const bool combinedLimit = options.on(OptionKey::TEW);
    const bool timeLimit = options.on(OptionKey::ME);
    if (!errorLimit && !warningLimit && !combinedLimit && !timeLimit) return {};

    const std::int64_t warnings = counters.totalWarnings();
    const std::int64_t errors = counters.totalErrors();
    std::string_view reason;
    if (errorLimit && errors > options.value(OptionKey::TE_VAL)) reason = kErrorLimitMessage;
    if (warningLimit && warnings > options.value(OptionKey::TW_VAL)) reason = kWarningLimitMessage;
    if (combinedLimit && warnings + errors > options.value(OptionKey::TEW_VAL))
        reason = kCombinedLimitMessage;
    if (timeLimit) {
        const std::int64_t minutes = elapsedSeconds % 86400 / 60;
        if (minutes >= options.value(OptionKey::ME_VAL)) reason = kTimeLimitMessage;
    }
    return reason;
}

}  // namespace talveron
