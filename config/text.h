#pragma once

#include <string_view>

namespace talveron {

/// Spaces removed from both ends (record values are trimmed of spaces only).
inline std::string_view TrimSpaces(std::string_view text) {
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first != end && text[first] == ' ') ++first;
    if (first == end) return {};
    while (text[end - 1] == ' ') --end;
    return text.substr(first, end - first);
}

/// The ASCII letter in upper case; every other byte unchanged.
inline char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace talveron
