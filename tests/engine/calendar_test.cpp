#include "engine/calendar.h"

#include <gtest/gtest.h>

#include <optional>

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

TEST(CalendarTest, AStampIsADateOrADateAndTime) {
    // The moment, or nothing (and the moment untouched) when the stamp is no real date and time.
    const auto parse = [](const char* stamp) -> std::optional<LocalDateTime> {
        const LocalDateTime untouched{1111, 1, 1, 1, 1, 1};
        LocalDateTime moment = untouched;
        if (ParseStamp(stamp, moment)) return moment;
        EXPECT_EQ(moment, untouched) << stamp;
        return std::nullopt;
    };
    EXPECT_EQ(parse("20240615"), (LocalDateTime{2024, 6, 15, 0, 0, 0}));
    EXPECT_EQ(parse("20240615123456"), (LocalDateTime{2024, 6, 15, 12, 34, 56}));
    EXPECT_EQ(parse("20240615235959"), (LocalDateTime{2024, 6, 15, 23, 59, 59}));
    for (const char* invalid : {"20240615240000", "20240615126000", "20240615125960", "20240230",
                                "2024061", "202406151", "2024061a", "+2024061", ""}) {
        EXPECT_EQ(parse(invalid), std::nullopt) << invalid;
    }
}

}  // namespace
}  // namespace talveron
