#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talveron {

/// Reads the input as an INI text and checks what every query and an edit must keep: the text
/// is held byte for byte; values are non-empty, at most 1023 characters, on one line and taken
/// from the text; names match without regard to letter case; forEachKey agrees with find; and
/// setValue changes the one key it sets, within one line, to a value read back the same way;
/// the configuration check of the text names no line past its end.
/// Returns the first broken invariant, or empty.
std::string CheckIniDocument(std::string_view input, const std::filesystem::path& workDirectory);

}  // namespace talveron
