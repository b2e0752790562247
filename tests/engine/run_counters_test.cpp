#include "engine/run_counters.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

namespace talveron {
namespace {

using Values = std::array<std::int64_t, 12>;

struct CountCase {
    const char* what;
    char type;
    std::int64_t errors;
    std::int64_t warnings;
    Values expected;
};

class CountRecordTest : public testing::TestWithParam<CountCase> {};

TEST_P(CountRecordTest, AddsToTheTypeRowAndTheTotals) {
    RunCounters counters;
    counters.countRecord(GetParam().type, GetParam().errors, GetParam().warnings);
    EXPECT_EQ(counters.values, GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Types, CountRecordTest,
    testing::Values(
        // Expected counters: dose records, warnings, errors; intake; comment; all types.
        CountCase{"dose", 'D', 3, 4, Values{1, 4, 3, 0, 0, 0, 0, 0, 0, 1, 4, 3}},
        CountCase{"intake, 2 errors 1 warning", 'I', 2, 1,
                  Values{0, 0, 0, 1, 1, 2, 0, 0, 0, 1, 1, 2}},
        CountCase{"comment", 'C', 0, 5, Values{0, 0, 0, 0, 0, 0, 1, 5, 0, 1, 5, 0}},
        CountCase{"header counts in the totals only", 'H', 1, 1,
                  Values{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}},
        CountCase{"lower-case d is no dose", 'd', 1, 0, Values{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}},
        CountCase{"no type (blank line)", '\0', 1, 0, Values{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}},
        CountCase{"clean record", 'D', 0, 0, Values{1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}}));

TEST(RunCountersTest, RecordsAccumulate) {
    RunCounters counters;
    for (int i = 0; i < 12345; ++i) counters.countRecord('D', 0, 0);
    counters.countRecord('I', 1, 0);
    counters.countRecord('C', 0, 2);
    EXPECT_EQ(counters.values[RunCounters::kDoseRecords], 12345);
    EXPECT_EQ(counters.values[RunCounters::kTotalRecords], 12347);
    EXPECT_EQ(counters.totalErrors(), 1);
    EXPECT_EQ(counters.totalWarnings(), 2);
    EXPECT_EQ(FormatGrouped(counters.values[RunCounters::kDoseRecords]), "12,345");
}

struct GroupedCase {
    std::int64_t value;
    const char* expected;
};

class FormatGroupedTest : public testing::TestWithParam<GroupedCase> {};

TEST_P(FormatGroupedTest, SeparatesThousandsWithCommas) {
    EXPECT_EQ(FormatGrouped(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Numbers, FormatGroupedTest,
                         testing::Values(GroupedCase{0, "0"}, GroupedCase{7, "7"},
                                         GroupedCase{999, "999"}, GroupedCase{1000, "1,000"},
                                         GroupedCase{1234, "1,234"}, GroupedCase{100000, "100,000"},
                                         GroupedCase{1234567, "1,234,567"}, GroupedCase{-1, "-1"},
                                         GroupedCase{-1234, "-1,234"}, GroupedCase{-999, "-999"},
                                         GroupedCase{std::numeric_limits<std::int64_t>::max(),
                                                     "9,223,372,036,854,775,807"},
                                         GroupedCase{std::numeric_limits<std::int64_t>::min(),
                                                     "-9,223,372,036,854,775,808"}));

}  // namespace
}  // namespace talveron
