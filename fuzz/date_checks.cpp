#include "fuzz/date_checks.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "config/number.h"
#include "engine/calendar.h"
#include "engine/date_value.h"

namespace talveron {

namespace {

constexpr LocalDateTime kFallbackRunStart{2024, 6, 15, 10, 30, 0};
constexpr std::int64_t kSecondsPerDay = 86400;

int Digits(std::string_view text, std::size_t first, std::size_t count) {
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

/// What a stamp must be to be accepted, spelled out: 8 or 14 digits, a calendar day and a time
/// of day.
bool IsAcceptableStamp(std::string_view stamp) {
    if (stamp.size() != 8 && stamp.size() != 14) return false;
    if (!std::all_of(stamp.begin(), stamp.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const std::chrono::year_month_day date{
        std::chrono::year(Digits(stamp, 0, 4)),
        std::chrono::month(static_cast<unsigned>(Digits(stamp, 4, 2))),
        std::chrono::day(static_cast<unsigned>(Digits(stamp, 6, 2)))};
    if (!date.ok()) return false;
    return stamp.size() == 8 ||
           (Digits(stamp, 8, 2) < 24 && Digits(stamp, 10, 2) < 60 && Digits(stamp, 12, 2) < 60);
}

std::string CheckStamp(std::string_view stamp, LocalDateTime& runStart) {
    LocalDateTime parsed;
    const bool accepted = ParseStamp(std::string(stamp), parsed);
    if (accepted != IsAcceptableStamp(stamp)) {
        return "the stamp \"" + std::string(stamp) + "\" is " + (accepted ? "accepted" : "refused");
    }
    if (!accepted) return {};
    const std::string expected = std::string(stamp.substr(4, 2)) + "/" +
                                 std::string(stamp.substr(6, 2)) + "/" +
                                 std::string(stamp.substr(0, 4));
    if (FormatDateMdy(parsed) != expected) {
        return "the stamp " + std::string(stamp) + " reads as " + FormatDateMdy(parsed);
    }
    runStart = parsed;
    return {};
}

std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string_view{};
}

/// Whole days from the date to the moment, rounded half to even, by the standard calendar.
std::int64_t ReferenceDayNumber(const std::chrono::year_month_day& date,
                                const LocalDateTime& moment) {
    const std::chrono::year_month_day day{std::chrono::year(moment.year),
                                          std::chrono::month(static_cast<unsigned>(moment.month)),
                                          std::chrono::day(static_cast<unsigned>(moment.day))};
    const std::int64_t seconds =
        (std::chrono::sys_days(day) - std::chrono::sys_days(date)).count() * kSecondsPerDay +
        moment.hour * 3600 + moment.minute * 60 + moment.second;
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        days -= 1;
        rest += kSecondsPerDay;
    }
    const bool roundUp = rest > kSecondsPerDay / 2 || (rest == kSecondsPerDay / 2 && days % 2 != 0);
    return roundUp ? days + 1 : days;
}

std::string CheckDate(std::string_view text, const LocalDateTime& runStart) {
    const CalendarDate read = ReadCalendarDate(text);
    const DateParts& parts = read.parts;
    const DateParts general{ParseNumber(Characters(text, 0, 4)),
                            ParseNumber(Characters(text, 4, 2)),
                            ParseNumber(Characters(text, 6, 2))};
    if (parts.year != general.year || parts.month != general.month || parts.day != general.day ||
        read.real != general.valid()) {
        return "the parts of \"" + std::string(text) + "\" differ from their numbers";
    }
    const std::int64_t dayNumber = DayNumber(text, runStart);
    if (!read.real) {
        return dayNumber == 0 ? ""
                              : "\"" + std::string(text) + "\" is no date, yet has a day number";
    }
    // The standard calendar covers the years -32767..32767; valid() admits no fractions.
    if (parts.year < -32767 || parts.year > 32767) return {};
    const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(parts.year)),
                                           std::chrono::month(static_cast<unsigned>(parts.month)),
                                           std::chrono::day(static_cast<unsigned>(parts.day))};
    if (!date.ok()) return "\"" + std::string(text) + "\" is taken for a date the calendar lacks";
    const std::int64_t expected = ReferenceDayNumber(date, runStart);
    if (dayNumber != expected) {
        return "\"" + std::string(text) + "\" has the day number " + std::to_string(dayNumber) +
               ", not " + std::to_string(expected);
    }
    return {};
}

}  // namespace

std::string CheckDateParsing(std::string_view input, const std::filesystem::path&) {
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    LocalDateTime runStart = kFallbackRunStart;
    if (std::string problem = CheckStamp(input.substr(0, lineEnd), runStart); !problem.empty()) {
        return problem;
    }
    return CheckDate(input.substr(std::min(lineEnd + 1, input.size())), runStart);
}

}  // namespace talveron
