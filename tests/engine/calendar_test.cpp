#include "engine/calendar.h"

#include <gtest/gtest.h>

namespace talveron {
namespace {

TEST(CalendarTest, ValidDatesFollowTheGregorianCalendar) {
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_TRUE(IsValidDate(2023, 12, 31));
    EXPECT_FALSE(IsValidDate(2023, 4, 31));
    EXPECT_FALSE(IsValidDate(2023, 0, 1));
    EXPECT_FALSE(IsValidDate(2023, 13, 1));
    EXPECT_FALSE(IsValidDate(2023, 1, 0));
    EXPECT_FALSE(IsValidDate(2023, 1, 32));
}

TEST(CalendarTest, DaysAreCountedFromTheFirstOf1970) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(1969, 12, 31), -1);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(DaysFromCivil(2024, 1, 1), 19723);
    EXPECT_EQ(DaysFromCivil(2024, 3, 1) - DaysFromCivil(2024, 2, 28), 2);
    EXPECT_EQ(DaysFromCivil(1900, 3, 1) - DaysFromCivil(1900, 2, 28), 1);
}

TEST(CalendarTest, SecondsOfAMoment) {
    EXPECT_EQ(SecondsOf({1970, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(SecondsOf({1970, 1, 2, 1, 1, 1}), 86400 + 3661);
    EXPECT_EQ(SecondsOf({1969, 12, 31, 23, 59, 59}), -1);
}

TEST(CalendarTest, DateFormattedMonthDayYear) {
    EXPECT_EQ(FormatDateMdy({2024, 6, 5, 23, 59, 0}), "06/05/2024");
    EXPECT_EQ(FormatDateMdy({987, 12, 31, 0, 0, 0}), "12/31/0987");
}

struct StampCase {
    const char* stamp;
    bool valid;
    LocalDateTime moment;
};

class StampTest : public testing::TestWithParam<StampCase> {};

TEST_P(StampTest, ReadsDateOrDateAndTime) {
    const LocalDateTime untouched{1111, 1, 1, 1, 1, 1};
    LocalDateTime moment = untouched;
    EXPECT_EQ(ParseStamp(GetParam().stamp, moment), GetParam().valid);
    EXPECT_EQ(moment, GetParam().valid ? GetParam().moment : untouched);
}

INSTANTIATE_TEST_SUITE_P(
    Stamps, StampTest,
    testing::Values(StampCase{"20240615", true, {2024, 6, 15, 0, 0, 0}},
                    StampCase{"20240615123456", true, {2024, 6, 15, 12, 34, 56}},
                    StampCase{"20240615235959", true, {2024, 6, 15, 23, 59, 59}},
                    StampCase{"20240615240000", false, {}}, StampCase{"20240615126000", false, {}},
                    StampCase{"20240615125960", false, {}}, StampCase{"20240230", false, {}},
                    StampCase{"2024061", false, {}}, StampCase{"202406151", false, {}},
                    StampCase{"2024061a", false, {}}, StampCase{"+2024061", false, {}},
                    StampCase{"", false, {}}));

}  // namespace
}  // namespace talveron
