#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talveron {

// How a results file is cut into sections, by the profile rules: a line whose first character
// other than blanks (spaces, tabs) is "[" opens a section; CR LF, LF and CR each end a line.

/// The position of the "[" of the first section header line in `text` at or after `from`; npos
/// when there is none. `blankBefore`: the line that `text` begins in holds only blanks before it
/// (true when `text` begins a line).
std::size_t FindSectionBracket(std::string_view text, std::size_t from, bool blankBefore);

/// `blankBefore` for the text that follows `text`: whether its last line holds only blanks.
bool EndsInBlankLineStart(std::string_view text, bool blankBefore);

/// The name of the section whose "[" begins `text`: the text up to "]" or the line end, without
/// surrounding blanks. nullopt when neither comes within `text` and `text` does not end the line.
std::optional<std::string_view> SectionName(std::string_view text, bool textEndsLine);

/// The finding number a section name stands for: plain decimal digits as the run writes them,
/// without a sign or a leading zero ("0" itself included); nullopt for any other name.
std::optional<std::int64_t> FindingNumberOf(std::string_view name);

}  // namespace talveron
