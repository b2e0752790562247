#include "engine/field_value.h"

namespace talveron {

namespace {

/// The non-blank bytes among the first `count` of a block.
std::uint32_t TextBytes(ByteBlock block, std::size_t count) {
    return ~MaskOf(block == ' ') & FirstBytes(count);
}

}  // namespace

FieldSlice FieldSlice::Of(const FieldDef& field) {
    if (field.len <= 0 || field.start < 1) return {};
    return {static_cast<std::uint32_t>(field.start - 1), static_cast<std::uint32_t>(field.len)};
}

std::string_view FieldValueInBlocks(std::string_view line, std::size_t first, std::size_t width) {
    // One pass, block after block: the text starts in the first block with a non-blank byte and
    // ends in the last one. Positions are offsets in the line.
    const std::size_t fieldEnd = first + width;
    std::size_t begin = fieldEnd;
    std::size_t end = fieldEnd;
    const auto take = [&](std::size_t blockStart, std::uint32_t text) {
        if (text == 0) return;
        if (begin == fieldEnd)
            begin = blockStart + static_cast<std::size_t>(std::countr_zero(text));
        end = blockStart + static_cast<std::size_t>(std::bit_width(text));
    };
    std::size_t at = first;
    for (; at + kBlockSize <= fieldEnd; at += kBlockSize) {
        take(at, TextBytes(LoadBlock(line.data() + at), kBlockSize));
    }
    if (at < fieldEnd) {
        if (fieldEnd >= kBlockSize) {
            // The rest in the whole block that ends with the field, the bytes before `at` (seen
            // already, or not the field's) masked off.
            const std::size_t blockStart = fieldEnd - kBlockSize;
            take(blockStart, TextBytes(LoadBlock(line.data() + blockStart), kBlockSize) &
                                 ~FirstBytes(at - blockStart));
        } else {
            take(at,
                 TextBytes(LoadBlock(line.data() + at, line.data() + line.size()), fieldEnd - at));
        }
    }
    return {line.data() + begin, end - begin};
}

}  // namespace talveron
