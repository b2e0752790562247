#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talveron {

/// Converts the input as a number in every way the configuration and the records do, and checks
/// the results: a plain decimal (sign, digits, fraction, exponent by E or D; blanks anywhere)
/// reads as the C library reads it; rounding is to the nearest, halves to even; the 16-bit
/// readings agree with the rounded value. Returns the first broken invariant, or empty.
std::string CheckNumberConversion(std::string_view input,
                                  const std::filesystem::path& workDirectory);

}  // namespace talveron
