#include "engine/date_value.h"

#include <gtest/gtest.h>

namespace talveron {
namespace {

struct PartsCase {
    const char* text;
    double year;
    double month;
    double day;
    bool valid;
};

class DatePartsTest : public testing::TestWithParam<PartsCase> {};

TEST_P(DatePartsTest, ReadsCharacters1To4And5To6And7To8) {
    const DateParts parts = ReadDateParts(GetParam().text);
    EXPECT_EQ(parts.year, GetParam().year);
    EXPECT_EQ(parts.month, GetParam().month);
    EXPECT_EQ(parts.day, GetParam().day);
    EXPECT_EQ(parts.valid(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DatePartsTest,
    testing::Values(
        PartsCase{"20240615", 2024, 6, 15, true}, PartsCase{"20240229", 2024, 2, 29, true},
        PartsCase{"20000229", 2000, 2, 29, true}, PartsCase{"19000229", 1900, 2, 29, false},
        PartsCase{"20230229", 2023, 2, 29, false}, PartsCase{"20240631", 2024, 6, 31, false},
        PartsCase{"20241301", 2024, 13, 1, false}, PartsCase{"20240001", 2024, 0, 1, false},
        PartsCase{"20240100", 2024, 1, 0, false}, PartsCase{"2024AB15", 2024, 0, 15, false},
        PartsCase{"2024", 2024, 0, 0, false}, PartsCase{"", 0, 0, 0, false},
        // Only the first eight characters are read.
        PartsCase{"202406151234", 2024, 6, 15, true},
        // A part that is no whole number names no day.
        PartsCase{"20.40615", 20.4, 6, 15, false}, PartsCase{"2024-6-1", 2024, -6, -1, false}));

struct DayCase {
    const char* what;
    LocalDateTime runStart;
    const char* date;
    std::int64_t expected;
};

class DayNumberTest : public testing::TestWithParam<DayCase> {};

TEST_P(DayNumberTest, IsRunStartMinusTheDateRoundedHalfToEven) {
    EXPECT_EQ(DayNumber(GetParam().date, GetParam().runStart), GetParam().expected)
        << GetParam().what;
}

constexpr LocalDateTime kNoon{2024, 6, 15, 12, 0, 0};
constexpr LocalDateTime kMorning{2024, 6, 15, 10, 30, 0};
constexpr LocalDateTime kEvening{2024, 6, 15, 18, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Dates, DayNumberTest,
    testing::Values(DayCase{"same day at noon: 0.5", kNoon, "20240615", 0},
                    DayCase{"1.5 goes up to 2", kNoon, "20240614", 2},
                    DayCase{"2.5 goes down to 2", kNoon, "20240613", 2},
                    DayCase{"a later date: -0.5", kNoon, "20240616", 0},
                    DayCase{"a later date: -1.5", kNoon, "20240617", -2},
                    DayCase{"166.5 days", kNoon, "20240101", 166},
                    DayCase{"morning of the same day", kMorning, "20240615", 0},
                    DayCase{"evening of the same day", kEvening, "20240615", 1},
                    DayCase{"a year across 29 February", kMorning, "20230615", 366},
                    DayCase{"not a date", kNoon, "20240230", 0}, DayCase{"empty", kNoon, "", 0},
                    DayCase{"a date in the future", kMorning, "20250615", -365}));

}  // namespace
}  // namespace talveron
