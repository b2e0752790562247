#include "engine/date_value.h"

#include <cmath>

#include "config/number.h"

namespace talveron {

namespace {

std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string_view{};
}

bool IsWhole(double value) {
    return std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e6;
}

}  // namespace

bool DateParts::valid() const {
    return IsWhole(year) && IsWhole(month) && IsWhole(day) &&
           IsValidDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

DateParts ReadDateParts(std::string_view trimmedValue) {
    return {ParseNumber(Characters(trimmedValue, 0, 4)), ParseNumber(Characters(trimmedValue, 4, 2)),
            ParseNumber(Characters(trimmedValue, 6, 2))};
}

std::int64_t DayNumber(std::string_view trimmedValue, const LocalDateTime& runStart) {
    const DateParts parts = ReadDateParts(trimmedValue);
    if (!parts.valid()) return 0;
    const std::int64_t dateSeconds = DaysFromCivil(static_cast<int>(parts.year),
                                                   static_cast<int>(parts.month),
                                                   static_cast<int>(parts.day)) *
                                     86400;
    const double days = static_cast<double>(SecondsOf(runStart) - dateSeconds) / 86400.0;
    return static_cast<std::int64_t>(RoundHalfEven(days));
}

}  // namespace talveron
