#include "ui/results_sections.h"

#include <charconv>
#include <cstring>

namespace talveron {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::size_t FindSectionBracket(std::string_view text, std::size_t from, bool blankBefore) {
    while (from < text.size()) {
        const void* found = std::memchr(text.data() + from, '[', text.size() - from);
        if (found == nullptr) return std::string_view::npos;
        const std::size_t bracket =
            static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        std::size_t lineStart = bracket;
        while (lineStart > 0 && IsBlank(text[lineStart - 1])) --lineStart;
        if (lineStart == 0 ? blankBefore : IsLineEnd(text[lineStart - 1])) return bracket;
        from = bracket + 1;
    }
    return std::string_view::npos;
}

bool EndsInBlankLineStart(std::string_view text, bool blankBefore) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return end == 0 ? blankBefore : IsLineEnd(text[end - 1]);
}

std::optional<std::string_view> SectionName(std::string_view text, bool textEndsLine) {
    const std::size_t close = text.find_first_of("]\r\n", 1);
    if (close == std::string_view::npos && !textEndsLine) return std::nullopt;
    std::string_view name =
        text.substr(1, close == std::string_view::npos ? text.size() - 1 : close - 1);
    while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
    while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
    return name;
}

std::optional<std::int64_t> FindingNumberOf(std::string_view name) {
    if (name.empty() || (name.size() > 1 && name.front() == '0')) return std::nullopt;
    for (const char c : name) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size()) return std::nullopt;
    return number;
}

}  // namespace talveron
