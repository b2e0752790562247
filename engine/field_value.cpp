#include "engine/field_value.h"

#include <algorithm>
#include <bit>

#include "engine/byte_block.h"

namespace talveron {

namespace {

/// The non-blank bytes among the first `count` of a block.
std::uint32_t TextBytes(ByteBlock block, std::size_t count) {
    return ~MaskOf(block == ' ') & FirstBytes(count);
}

std::size_t LastBit(std::uint32_t mask) {
    return static_cast<std::size_t>(std::bit_width(mask)) - 1;
}

/// FieldValue of a field that is wider than a block or ends within a block of the line's end.
/// Kept out of line so that the common case needs no registers saved.
[[gnu::noinline]] std::string_view TrimmedInBlocks(const char* field, std::size_t width,
                                                   const char* lineEnd) {
    std::size_t begin = 0;
    for (;; begin += kBlockSize) {
        if (begin >= width) return {field + width, 0};
        const std::uint32_t text =
            TextBytes(LoadBlock(field + begin, lineEnd), std::min(kBlockSize, width - begin));
        if (text != 0) {
            begin += static_cast<std::size_t>(std::countr_zero(text));
            break;
        }
    }
    // A non-blank byte at `begin` ends the search from the right.
    std::size_t end = width;
    for (;;) {
        const std::size_t blockStart = end - begin > kBlockSize ? end - kBlockSize : begin;
        const std::uint32_t text =
            TextBytes(LoadBlock(field + blockStart, lineEnd), end - blockStart);
        if (text != 0) {
            end = blockStart + LastBit(text) + 1;
            break;
        }
        end = blockStart;
    }
    return {field + begin, end - begin};
}

}  // namespace

FieldSpan FieldSpan::Of(const FieldDef& field) {
    if (field.len <= 0 || field.start < 1) return {};
    return {static_cast<std::uint32_t>(field.start - 1), static_cast<std::uint32_t>(field.len)};
}

std::string_view FieldValue(std::string_view line, FieldSpan span) {
    if (span.width == 0 || span.first >= line.size()) return {};
    const char* field = line.data() + span.first;
    const std::size_t readable = line.size() - span.first;
    const std::size_t width = std::min<std::size_t>(readable, span.width);
    // Most fields fit one block that can be read whole: both ends of the text come from one mask.
    if (width > kBlockSize || readable < kBlockSize) {
        return TrimmedInBlocks(field, width, line.data() + line.size());
    }
    const std::uint32_t text = TextBytes(LoadBlock(field), width);
    if (text == 0) return {field + width, 0};
    const auto first = static_cast<std::size_t>(std::countr_zero(text));
    return {field + first, LastBit(text) - first + 1};
}

}  // namespace talveron
