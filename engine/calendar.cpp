#include "engine/calendar.h"

#include <array>
#include <cstdio>

namespace talveron {

namespace {

// Howard Hinnant's days-from-civil: exact for every proleptic Gregorian date.
constexpr std::int64_t CivilDays(int year, int month, int day) {
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

/// The years whose first day is looked up rather than worked out: every date a load file
/// sensibly holds.
constexpr int kFirstListedYear = 1800;
constexpr int kListedYears = 512;

/// Days from 1970-01-01 to 1 January of each listed year, and of the year after the last.
constexpr auto kYearStarts = [] {
    std::array<std::int32_t, kListedYears + 1> starts{};
    for (int i = 0; i <= kListedYears; ++i) {
        starts[static_cast<std::size_t>(i)] =
            static_cast<std::int32_t>(CivilDays(kFirstListedYear + i, 1, 1));
    }
    return starts;
}();

/// Days of a common year before the first of each month (1-based).
constexpr std::array<std::int32_t, 13> kDaysBeforeMonth = {0,   0,   31,  59,  90,  120, 151,
                                                           181, 212, 243, 273, 304, 334};

/// The year's place in kYearStarts, or -1 when it is not listed.
int ListedYear(int year) {
    return year >= kFirstListedYear && year < kFirstListedYear + kListedYears
               ? year - kFirstListedYear
               : -1;
}

bool IsLeapYear(int year) {
    if (const int listed = ListedYear(year); listed >= 0) {
        const auto i = static_cast<std::size_t>(listed);
        return kYearStarts[i + 1] - kYearStarts[i] == 366;
    }
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

std::int64_t DaysFromCivil(int year, int month, int day) {
    const int listed = ListedYear(year);
    if (listed < 0 || month < 1 || month > 12) return CivilDays(year, month, day);
    // Linear in the day, as the formula is, so a day outside the month gives the same.
    const auto i = static_cast<std::size_t>(listed);
    const bool leapDay = month > 2 && kYearStarts[i + 1] - kYearStarts[i] == 366;
    return std::int64_t{kYearStarts[i]} + kDaysBeforeMonth[static_cast<std::size_t>(month)] +
           (leapDay ? 1 : 0) + day - 1;
}

std::int64_t SecondsOf(const LocalDateTime& moment) {
    return DaysFromCivil(moment.year, moment.month, moment.day) * 86400 + moment.hour * 3600 +
           moment.minute * 60 + moment.second;
}

std::string FormatDateMdy(const LocalDateTime& moment) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", moment.month, moment.day, moment.year);
    return text;
}

bool ParseStamp(const std::string& stamp, LocalDateTime& moment) {
    if (stamp.size() != 8 && stamp.size() != 14) return false;
    for (char c : stamp) {
        if (c < '0' || c > '9') return false;
    }
    auto digits = [&](std::size_t at, std::size_t count) {
        return std::stoi(stamp.substr(at, count));
    };
    LocalDateTime parsed;
    parsed.year = digits(0, 4);
    parsed.month = digits(4, 2);
    parsed.day = digits(6, 2);
    if (stamp.size() == 14) {
        parsed.hour = digits(8, 2);
        parsed.minute = digits(10, 2);
        parsed.second = digits(12, 2);
    }
    if (!IsValidDate(parsed.year, parsed.month, parsed.day) || parsed.hour > 23 ||
        parsed.minute > 59 || parsed.second > 59) {
        return false;
    }
    moment = parsed;
    return true;
}

}  // namespace talveron
