#include "engine/run_counters.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

namespace talveron {
namespace {

using Values = std::array<std::int64_t, 12>;

Values Counted(char type, std::int64_t errors, std::int64_t warnings) {
    RunCounters counters;
    counters.countRecord(type, errors, warnings);
    return counters.values;
}

TEST(RunCountersTest, ARecordAddsToTheRowOfItsTypeAndToTheTotals) {
    // Dose records, warnings, errors; intake; comment; all types.
    EXPECT_EQ(Counted('D', 3, 4), (Values{1, 4, 3, 0, 0, 0, 0, 0, 0, 1, 4, 3}));
    EXPECT_EQ(Counted('I', 2, 1), (Values{0, 0, 0, 1, 1, 2, 0, 0, 0, 1, 1, 2}));
    EXPECT_EQ(Counted('C', 0, 5), (Values{0, 0, 0, 0, 0, 0, 1, 5, 0, 1, 5, 0}));
    EXPECT_EQ(Counted('D', 0, 0), (Values{1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}));
    // A header, a lower-case d and a line without a type count in the totals only.
    EXPECT_EQ(Counted('H', 1, 1), (Values{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(Counted('d', 1, 0), (Values{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(Counted('\0', 1, 0), (Values{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}));
}

TEST(RunCountersTest, RecordsAccumulate) {
    RunCounters counters;
    for (int i = 0; i < 12345; ++i) counters.countRecord('D', 0, 0);
    counters.countRecord('I', 1, 0);
    counters.countRecord('C', 0, 2);
    EXPECT_EQ(counters.values[RunCounters::kDoseRecords], 12345);
    EXPECT_EQ(counters.values[RunCounters::kTotalRecords], 12347);
    EXPECT_EQ(counters.totalErrors(), 1);
    EXPECT_EQ(counters.totalWarnings(), 2);
}

TEST(FormatGroupedTest, SeparatesThousandsWithCommas) {
    EXPECT_EQ(FormatGrouped(0), "0");
    EXPECT_EQ(FormatGrouped(999), "999");
    EXPECT_EQ(FormatGrouped(1000), "1,000");
    EXPECT_EQ(FormatGrouped(100000), "100,000");
    EXPECT_EQ(FormatGrouped(1234567), "1,234,567");
    EXPECT_EQ(FormatGrouped(-999), "-999");
    EXPECT_EQ(FormatGrouped(-1234), "-1,234");
    EXPECT_EQ(FormatGrouped(std::numeric_limits<std::int64_t>::max()), "9,223,372,036,854,775,807");
    EXPECT_EQ(FormatGrouped(std::numeric_limits<std::int64_t>::min()),
              "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace talveron
