#include "engine/date_value.h"

#include <gtest/gtest.h>

namespace talveron {
namespace {

TEST(DatePartsTest, ReadsCharacters1To4And5To6And7To8) {
    const auto expect = [](const char* text, double year, double month, double day, bool valid) {
        const CalendarDate date = ReadCalendarDate(text);
        EXPECT_EQ(date.parts.year, year) << text;
        EXPECT_EQ(date.parts.month, month) << text;
        EXPECT_EQ(date.parts.day, day) << text;
        EXPECT_EQ(date.real, valid) << text;
    };
    expect("20240615", 2024, 6, 15, true);
    expect("20240229", 2024, 2, 29, true);
    expect("20240631", 2024, 6, 31, false);  // days are judged as the calendar judges them
    expect("2024AB15", 2024, 0, 15, false);
    expect("2024", 2024, 0, 0, false);
    expect("", 0, 0, 0, false);
    expect("202406151234", 2024, 6, 15, true);  // only the first eight characters are read
    // A part that is no whole number names no day.
    expect("20.40615", 20.4, 6, 15, false);
    expect("2024-6-1", 2024, -6, -1, false);
}

TEST(DayNumberTest, IsRunStartMinusTheDateRoundedHalfToEven) {
    constexpr LocalDateTime kNoon{2024, 6, 15, 12, 0, 0};
    constexpr LocalDateTime kMorning{2024, 6, 15, 10, 30, 0};
    constexpr LocalDateTime kEvening{2024, 6, 15, 18, 0, 0};
    EXPECT_EQ(DayNumber("20240615", kNoon), 0);  // 0.5
    EXPECT_EQ(DayNumber("20240614", kNoon), 2);  // 1.5
    EXPECT_EQ(DayNumber("20240613", kNoon), 2);  // 2.5
    EXPECT_EQ(DayNumber("20240616", kNoon), 0);  // a later date: -0.5
    EXPECT_EQ(DayNumber("20240617", kNoon), -2);
    EXPECT_EQ(DayNumber("20240615", kMorning), 0);
    EXPECT_EQ(DayNumber("20240615", kEvening), 1);
    EXPECT_EQ(DayNumber("20230615", kMorning), 366);  // a year across 29 February
    EXPECT_EQ(DayNumber("20250615", kMorning), -365);
    // Not a date: 0.
    EXPECT_EQ(DayNumber("20240230", kNoon), 0);
    EXPECT_EQ(DayNumber("", kNoon), 0);
}

}  // namespace
}  // namespace talveron
