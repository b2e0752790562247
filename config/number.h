#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talveron {

/// The leading number of a text, as every number in the configuration and in the records is read:
/// spaces, tabs and line feeds anywhere are skipped; then an optional sign, digits, an optional
/// fraction and an optional exponent introduced by E or D; "&H" and "&O" introduce hexadecimal and
/// octal digits. Reading stops at the first other character. A text with no number reads as 0.
double ParseNumber(std::string_view text);

/// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

/// The number of a text rounded half to even, when it fits a signed 16-bit integer.
std::optional<std::int16_t> ParseInt16(std::string_view text);

/// The number of a text rounded half to even and clamped into -32768..32767.
std::int16_t ParseInt16Clamped(std::string_view text);

/// Whether the text is a whole number written plainly, as the options dialog writes one: an
/// optional sign and digits, nothing else.
bool IsPlainWholeNumber(std::string_view text);

}  // namespace talveron
