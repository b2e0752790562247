#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>

#include "config/record_layout.h"
#include "engine/byte_block.h"

namespace talveron {

/// Where a field lies in a line, worked out once from its definition.
struct FieldSlice {
    std::uint32_t first = 0;  ///< offset of its first character in the line
    std::uint32_t width = 0;  ///< characters it spans; 0 when it has no valid width or start

    static FieldSlice Of(const FieldDef& field);
};

/// FieldValue of the `width` characters from offset `first` (width at least 1, all in the
/// line), for a field wider than a block or within a block of the line's end.
std::string_view FieldValueInBlocks(std::string_view line, std::size_t first, std::size_t width);

/// The trimmed text of a field: its width from its start, shorter or empty where the line ends,
/// blanks around it removed. Inline: it is the step every field of every record takes.
inline std::string_view FieldValue(std::string_view line, FieldSlice span) {
    if (span.width == 0 || span.first >= line.size()) return {};
    const char* field = line.data() + span.first;
    const std::size_t readable = line.size() - span.first;
    const std::size_t width = std::min<std::size_t>(readable, span.width);
    if (width > kBlockSize || readable < kBlockSize) {
        return FieldValueInBlocks(line, span.first, width);
    }
    // Most fields fit one block that can be read whole: both ends of the text come from one mask.
    const std::uint32_t text = ~MaskOf(LoadBlock(field) == ' ') & FirstBytes(width);
    if (text == 0) return {field + width, 0};
    const auto first = static_cast<std::size_t>(std::countr_zero(text));
    return {field + first, static_cast<std::size_t>(std::bit_width(text)) - first};
}

}  // namespace talveron
