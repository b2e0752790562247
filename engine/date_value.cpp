#include "engine/date_value.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "config/number.h"

namespace talveron {

namespace {

std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string_view{};
}

/// The year, month and day of eight digit characters YYYYMMDD.
struct DateDigits {
    int year;
    int month;
    int day;
};

DateDigits ReadDateDigits(std::string_view eightDigits) {
    if constexpr (std::endian::native == std::endian::little) {
        // In one word: the digits' values, then each pair's value in the pair's first byte (at
        // most 99, so no byte carries into the next).
        std::uint64_t word = 0;
        std::memcpy(&word, eightDigits.data(), sizeof word);
        word -= 0x3030303030303030ULL;
        word = word * 10 + (word >> 8);
        const auto pair = [&](int index) {
            return static_cast<int>((word >> (16 * index)) & 0xFF);
        };
        return {pair(0) * 100 + pair(1), pair(2), pair(3)};
    } else {
        const auto digits = [&](std::size_t first, std::size_t count) {
            int value = 0;
            for (std::size_t i = first; i < first + count; ++i)
                value = value * 10 + (eightDigits[i] - '0');
            return value;
        };
        return {digits(0, 4), digits(4, 2), digits(6, 2)};
    }
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

CalendarDate ReadCalendarDate(std::string_view trimmedValue) {
    CalendarDate date;
    if (trimmedValue.size() >= 8 && StartsWithEightDigits(trimmedValue)) {
        const auto [year, month, day] = ReadDateDigits(trimmedValue);
        date.parts = {static_cast<double>(year), static_cast<double>(month),
                      static_cast<double>(day)};
        date.real = IsValidDate(year, month, day);
    } else {
        date.parts = {ParseNumber(Characters(trimmedValue, 0, 4)),
                      ParseNumber(Characters(trimmedValue, 4, 2)),
                      ParseNumber(Characters(trimmedValue, 6, 2))};
        date.real = date.parts.valid();
    }
    if (date.real) {
        date.days =
            DaysFromCivil(static_cast<int>(date.parts.year), static_cast<int>(date.parts.month),
                          static_cast<int>(date.parts.day));
    }
    return date;
}

std::int64_t DayNumber(std::string_view trimmedValue, const LocalDateTime& runStart) {
    return DayCounter(runStart).dayNumber(trimmedValue);
}

std::int64_t DayCounter::dayNumber(const CalendarDate& date) const {
    if (!date.real) return 0;
    // Whole days and the seconds left over, rounded half to even in whole numbers: the same as
    // dividing in floating point, whose quotient is exact at a half and far from one otherwise.
    constexpr std::int64_t kSecondsPerDay = 86400;
    const std::int64_t seconds = runStartSeconds_ - date.days * kSecondsPerDay;
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        days -= 1;
        rest += kSecondsPerDay;
    }
    const bool up = rest > kSecondsPerDay / 2 || (rest == kSecondsPerDay / 2 && days % 2 != 0);
    return up ? days + 1 : days;
}

}  // namespace talveron
