#pragma once

#include <string_view>

namespace talveron {

/// Spaces removed from both ends (record values are trimmed of spaces only).
inline std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// The ASCII letter in upper case; every other byte unchanged.
inline char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace talveron
