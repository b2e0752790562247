#include "run/run_limits.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <utility>

namespace talveron {
namespace {

using enum OptionKey;
constexpr std::int16_t kOn = -1;
constexpr std::string_view kErrors = "Total # of allowable errors was exceeded!";
constexpr std::string_view kWarnings = "Total # of allowable warnings was exceeded!";
constexpr std::string_view kCombined =
    "Combined total of allowable errors & warnings was exceeded!";
constexpr std::string_view kTime = "Time limit on validation was exceeded!";

/// The message for these settings (on top of the defaults), tallies and elapsed seconds.
std::string_view Limit(std::initializer_list<std::pair<OptionKey, std::int16_t>> settings,
                       std::int64_t errors, std::int64_t warnings, std::int64_t elapsedSeconds) {
    OptionSettings options = OptionSettings::Defaults();
    for (const auto& [key, value] : settings) options.set(key, value);
    RunCounters counters;
    counters.values[RunCounters::kTotalErrors] = errors;
    counters.values[RunCounters::kTotalWarnings] = warnings;
    return CheckRunLimits(options, counters, elapsedSeconds);
}

TEST(RunLimitsTest, EachLimitFiresOnlyAboveItsValueAndOnlyWhenSwitchedOn) {
    EXPECT_EQ(Limit({}, 100'000, 100'000, 86'000), "");
    EXPECT_EQ(Limit({{TE, kOn}}, 100, 0, 0), "");
    EXPECT_EQ(Limit({{TE, kOn}}, 101, 0, 0), kErrors);
    EXPECT_EQ(Limit({{TE, 1}}, 101, 0, 0), kErrors);  // any non-zero switch is on
    EXPECT_EQ(Limit({{TW, kOn}}, 101, 0, 0), "");
    EXPECT_EQ(Limit({{TE, kOn}, {TE_VAL, 3}}, 4, 0, 0), kErrors);
    EXPECT_EQ(Limit({{TE, kOn}, {TE_VAL, -1}}, 0, 0, 0), kErrors);
    EXPECT_EQ(Limit({{TW, kOn}}, 0, 200, 0), "");
    EXPECT_EQ(Limit({{TW, kOn}}, 0, 201, 0), kWarnings);
    EXPECT_EQ(Limit({{TEW, kOn}}, 250, 250, 0), "");
    EXPECT_EQ(Limit({{TEW, kOn}}, 250, 251, 0), kCombined);
}

TEST(RunLimitsTest, TheTimeLimitCountsTheMinutesOfTheClockTime) {
    EXPECT_EQ(Limit({{ME, kOn}}, 0, 0, 45 * 60 - 1), "");
    EXPECT_EQ(Limit({{ME, kOn}}, 0, 0, 45 * 60), kTime);
    EXPECT_EQ(Limit({{ME, kOn}}, 0, 0, 86'400 + 10 * 60),
              "");  // the clock starts again after a day
    EXPECT_EQ(Limit({{ME, kOn}, {ME_VAL, 61}}, 0, 0, 3600 + 60), kTime);
}

TEST(RunLimitsTest, TheLastExceededLimitIsReported) {
    EXPECT_EQ(Limit({{TE, kOn}, {TW, kOn}}, 101, 201, 0), kWarnings);
    EXPECT_EQ(Limit({{TE, kOn}, {TEW, kOn}}, 501, 0, 0), kCombined);
    EXPECT_EQ(Limit({{TE, kOn}, {ME, kOn}}, 101, 0, 46 * 60), kTime);
    EXPECT_EQ(Limit({{TE, kOn}, {ME, 0}}, 101, 0, 46 * 60), kErrors);
}

}  // namespace
}  // namespace talveron
