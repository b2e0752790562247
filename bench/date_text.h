#pragma once

#include <array>
#include <string_view>

namespace talveron::bench {

/// A date as a load file writes it: eight digits YYYYMMDD.
using DateText = std::array<char, 8>;

/// The date text of a year (0..9999), month and day; the caller passes a real date.
DateText MakeDateText(int year, int month, int day);

inline std::string_view View(const DateText& date) { return {date.data(), date.size()}; }

/// The number of days of a month of the Gregorian calendar.
int DaysInMonth(int year, int month);

}  // namespace talveron::bench
