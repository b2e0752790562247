#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talveron {

/// The input's first line is read as a run-start stamp (ParseStamp), the rest as a record's date
/// (ReadCalendarDate, DayNumber). Checks: a stamp is accepted exactly when it is 8 or 14 digits
/// naming a real moment; the quick reading of eight digits agrees with the general one; a day
/// number is 0 for a date that is not real and otherwise the days from the date to the run
/// start, rounded half to even, as the standard calendar counts them. Returns the first broken
/// invariant, or empty.
std::string CheckDateParsing(std::string_view input, const std::filesystem::path& workDirectory);

}  // namespace talveron
