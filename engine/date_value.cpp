#include "engine/date_value.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

bool StartsWithEightDigits(std::string_view text) {
    // Eight bytes at once: every byte's high nibble is 3, and stays 3 when 6 is added (no byte
    // carries into the next).
    constexpr std::uint64_t kHighNibbles = 0xF0F0F0F0F0F0F0F0ULL;
    constexpr std::uint64_t kDigitNibbles = 0x3030303030303030ULL;
    constexpr std::uint64_t kSixes = 0x0606060606060606ULL;
    std::uint64_t word = 0;
    std::memcpy(&word, text.data(), sizeof word);
    return (word & kHighNibbles) == kDigitNibbles &&
           ((word + kSixes) & kHighNibbles) == kDigitNibbles;
}

DateParts ReadDateParts(std::string_view trimmedValue) {
    // Eight digits, the common case, need no general number reading.
    if (trimmedValue.size() >= 8 && StartsWithEightDigits(trimmedValue)) {
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
    return DayCounter(runStart).dayNumber(trimmedValue);
}

std::int64_t DayNumber(const DateParts& date, const LocalDateTime& runStart) {
    return DayCounter(runStart).dayNumber(date);
}

std::int64_t DayCounter::dayNumber(const DateParts& date) const {
    if (!date.valid()) return 0;
    const std::int64_t dateSeconds =
        DaysFromCivil(static_cast<int>(date.year), static_cast<int>(date.month),
                      static_cast<int>(date.day)) *
        86400;
    const double days = static_cast<double>(runStartSeconds_ - dateSeconds) / 86400.0;
    return static_cast<std::int64_t>(RoundHalfEven(days));
}

}  // namespace talveron
