#include "engine/date_value.h"

#include <algorithm>
#include <cmath>

#include "config/number.h"

namespace talveron {

namespace {

std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string_view{};
}

bool IsWhole(double value) {
    // The range test comes first and also rejects NaN, so the conversion is always defined.
    return value > -1e6 && value < 1e6 && value == static_cast<double>(static_cast<int>(value));
}

}  // namespace

bool DateParts::valid() const {
    return IsWhole(year) && IsWhole(month) && IsWhole(day) &&
           IsValidDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

DateParts ReadDateParts(std::string_view trimmedValue) {
    // Eight digits, the common case, need no general number reading.
    if (trimmedValue.size() >= 8 && std::all_of(trimmedValue.begin(), trimmedValue.begin() + 8,
                                                [](char c) { return c >= '0' && c <= '9'; })) {
        const auto digits = [&](std::size_t first, std::size_t count) {
            int value = 0;
            for (std::size_t i = first; i < first + count; ++i)
                value = value * 10 + (trimmedValue[i] - '0');
            return static_cast<double>(value);
        };
        return {digits(0, 4), digits(4, 2), digits(6, 2)};
    }
    return {ParseNumber(Characters(trimmedValue, 0, 4)),
            ParseNumber(Characters(trimmedValue, 4, 2)),
            ParseNumber(Characters(trimmedValue, 6, 2))};
}

std::int64_t DayNumber(std::string_view trimmedValue, const LocalDateTime& runStart) {
    return DayNumber(ReadDateParts(trimmedValue), runStart);
}

std::int64_t DayNumber(const DateParts& parts, const LocalDateTime& runStart) {
    if (!parts.valid()) return 0;
    const std::int64_t dateSeconds =
        DaysFromCivil(static_cast<int>(parts.year), static_cast<int>(parts.month),
                      static_cast<int>(parts.day)) *
        86400;
    const double days = static_cast<double>(SecondsOf(runStart) - dateSeconds) / 86400.0;
    return static_cast<std::int64_t>(RoundHalfEven(days));
}

}  // namespace talveron
