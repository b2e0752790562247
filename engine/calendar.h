#pragma once

#include <cstdint>
#include <string>

namespace talveron {

/// A local date and time of day, to the second.
struct LocalDateTime {
    int year = 1900;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const LocalDateTime&) const = default;
};

/// A real day of the Gregorian calendar: month 1..12, day 1..length of the month.
bool IsValidDate(int year, int month, int day);

/// Days since 1970-01-01 of a date (proleptic Gregorian; any year).
std::int64_t DaysFromCivil(int year, int month, int day);

/// The moment as a count of seconds since 1970-01-01 00:00:00 on the local calendar.
std::int64_t SecondsOf(const LocalDateTime& moment);

/// The date part "mm/dd/yyyy".
std::string FormatDateMdy(const LocalDateTime& moment);

/// A stamp "YYYYMMDD" or "YYYYMMDDhhmmss" read as a moment, if it is a real date and time.
bool ParseStamp(const std::string& stamp, LocalDateTime& moment);

}  // namespace talveron
