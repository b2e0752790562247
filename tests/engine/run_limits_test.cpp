#include "engine/run_limits.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

namespace talveron {
namespace {

struct LimitCase {
    const char* what;
    std::vector<std::pair<OptionKey, std::int16_t>> settings;  // on top of the defaults
    std::int64_t errors;
    std::int64_t warnings;
    std::int64_t elapsedSeconds;
    std::string_view expected;
};

class RunLimitsTest : public testing::TestWithParam<LimitCase> {};

TEST_P(RunLimitsTest, ReportsTheLastExceededLimit) {
    OptionSettings options = OptionSettings::Defaults();
    for (const auto& [key, value] : GetParam().settings) options.set(key, value);
    RunCounters counters;
    counters.values[RunCounters::kTotalErrors] = GetParam().errors;
    counters.values[RunCounters::kTotalWarnings] = GetParam().warnings;
    EXPECT_EQ(CheckRunLimits(options, counters, GetParam().elapsedSeconds), GetParam().expected)
        << GetParam().what;
}

constexpr std::int16_t kOn = -1;

INSTANTIATE_TEST_SUITE_P(
    Limits, RunLimitsTest,
    testing::Values(
        LimitCase{"all off, everything exceeded", {}, 100'000, 100'000, 86'000, ""},
        LimitCase{"errors at the limit", {{OptionKey::TE, kOn}}, 100, 0, 0, ""},
        LimitCase{"errors above the limit", {{OptionKey::TE, kOn}}, 101, 0, 0, kErrorLimitMessage},
        LimitCase{"any non-zero switch is on", {{OptionKey::TE, 1}}, 101, 0, 0, kErrorLimitMessage},
        LimitCase{"error limit off", {{OptionKey::TW, kOn}}, 101, 0, 0, ""},
        LimitCase{"own error limit",
                  {{OptionKey::TE, kOn}, {OptionKey::TE_VAL, 3}},
                  4,
                  0,
                  0,
                  kErrorLimitMessage},
        LimitCase{"negative limit fires at zero",
                  {{OptionKey::TE, kOn}, {OptionKey::TE_VAL, -1}},
                  0,
                  0,
                  0,
                  kErrorLimitMessage},
        LimitCase{"warnings at the limit", {{OptionKey::TW, kOn}}, 0, 200, 0, ""},
        LimitCase{
            "warnings above the limit", {{OptionKey::TW, kOn}}, 0, 201, 0, kWarningLimitMessage},
        LimitCase{"combined at the limit", {{OptionKey::TEW, kOn}}, 250, 250, 0, ""},
        LimitCase{"combined above the limit",
                  {{OptionKey::TEW, kOn}},
                  250,
                  251,
                  0,
                  kCombinedLimitMessage},
        LimitCase{"one minute short", {{OptionKey::ME, kOn}}, 0, 0, 45 * 60 - 1, ""},
        LimitCase{"time reached", {{OptionKey::ME, kOn}}, 0, 0, 45 * 60, kTimeLimitMessage},
        LimitCase{"the clock time starts again after a day",
                  {{OptionKey::ME, kOn}},
                  0,
                  0,
                  86'400 + 10 * 60,
                  ""},
        LimitCase{"hours count sixty minutes",
                  {{OptionKey::ME, kOn}, {OptionKey::ME_VAL, 61}},
                  0,
                  0,
                  3600 + 60,
                  kTimeLimitMessage},
        LimitCase{"errors and warnings: warnings come later",
                  {{OptionKey::TE, kOn}, {OptionKey::TW, kOn}},
                  101,
                  201,
                  0,
                  kWarningLimitMessage},
        LimitCase{"errors and combined",
                  {{OptionKey::TE, kOn}, {OptionKey::TEW, kOn}},
                  501,
                  0,
                  0,
                  kCombinedLimitMessage},
        LimitCase{"errors and time: time wins",
                  {{OptionKey::TE, kOn}, {OptionKey::ME, kOn}},
                  101,
                  0,
                  46 * 60,
                  kTimeLimitMessage},
        LimitCase{"time off, errors only",
                  {{OptionKey::TE, kOn}, {OptionKey::ME, 0}},
                  101,
                  0,
                  46 * 60,
                  kErrorLimitMessage}));

TEST(RunLimitsTest, MessagesAreTheFixedTexts) {
    EXPECT_EQ(kErrorLimitMessage, "Total # of allowable errors was exceeded!");
    EXPECT_EQ(kWarningLimitMessage, "Total # of allowable warnings was exceeded!");
    EXPECT_EQ(kCombinedLimitMessage, "Combined total of allowable errors & warnings was exceeded!");
    EXPECT_EQ(kTimeLimitMessage, "Time limit on validation was exceeded!");
}

}  // namespace
}  // namespace talveron
