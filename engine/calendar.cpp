#include "engine/calendar.h"

#include <cstdio>

namespace talveron {

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

// Howard Hinnant's days-from-civil: exact for every proleptic Gregorian date.
std::int64_t DaysFromCivil(int year, int month, int day) {
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
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
