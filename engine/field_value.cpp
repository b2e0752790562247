#include "engine/field_value.h"

#include <algorithm>
#include <cstring>

namespace talveron {

FieldSpan FieldSpan::Of(const FieldDef& field) {
    if (field.len <= 0 || field.start < 1) return {};
    return {static_cast<std::uint32_t>(field.start - 1), static_cast<std::uint32_t>(field.len)};
}

std::string_view FieldValue(std::string_view line, FieldSpan span) {
    if (span.width == 0 || span.first >= line.size()) return {};
    const char* begin = line.data() + span.first;
    const char* end = begin + std::min<std::size_t>(line.size() - span.first, span.width);
    while (begin != end && *begin == ' ') ++begin;
    // Fields are blank-padded on the right: drop the padding eight blanks at a time.
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ULL;
    for (std::uint64_t word; end - begin >= 8; end -= 8) {
        std::memcpy(&word, end - 8, sizeof word);
        if (word != kEightBlanks) break;
    }
    while (end != begin && end[-1] == ' ') --end;
    return {begin, static_cast<std::size_t>(end - begin)};
}

}  // namespace talveron
