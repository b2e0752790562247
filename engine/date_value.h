#pragma once

#include <cstdint>
#include <string_view>

#include "engine/calendar.h"

namespace talveron {

/// The three parts of a date written YYYYMMDD: the numbers of characters 1-4, 5-6 and 7-8 of the
/// trimmed text, whatever its length (missing characters read as no number, that is 0).
struct DateParts {
    double year = 0;
    double month = 0;
    double day = 0;

    /// The parts name a real calendar day (whole numbers, month 1..12, day within the month).
    bool valid() const;
};

/// The first eight characters of a text (of at least eight) are all digits 0-9.
bool StartsWithEightDigits(std::string_view text);

/// A date field's value as the checks use it, worked out once: its parts and, when they name a
/// real calendar day, that day counted from 1970-01-01. Eight digits, the common case, are read
/// without the general number reading and need no test for fractions.
struct CalendarDate {
    DateParts parts;
    bool real = false;      ///< parts.valid()
    std::int64_t days = 0;  ///< DaysFromCivil of the parts; 0 when not real
};

CalendarDate ReadCalendarDate(std::string_view trimmedValue);

/// The day number of a date against the run start: the run start minus the date at midnight, in
/// days, rounded half to even; a later date gives a smaller number. 0 when the value is not a
/// real calendar date.
std::int64_t DayNumber(std::string_view trimmedValue, const LocalDateTime& runStart);

/// DayNumber against one run start, read once: for the checks that count many dates.
class DayCounter {
public:
    explicit DayCounter(const LocalDateTime& runStart) : runStartSeconds_(SecondsOf(runStart)) {}

    std::int64_t dayNumber(const CalendarDate& date) const;
    std::int64_t dayNumber(std::string_view trimmedValue) const {
        return dayNumber(ReadCalendarDate(trimmedValue));
    }

private:
    std::int64_t runStartSeconds_;
};

}  // namespace talveron
