#include "engine/field_value.h"

namespace talveron {

namespace {

/// The non-blank bytes among the first `count` of a block.
std::uint32_t TextBytes(ByteBlock block, std::size_t count) {
    return ~MaskOf(block == ' ') & FirstBytes(count);
}

}  // namespace

FieldSpan FieldSpan::Of(const FieldDef& field) {
    if (field.len <= 0 || field.start < 1) return {};
    return {static_cast<std::uint32_t>(field.start - 1), static_cast<std::uint32_t>(field.len)};
}

std::string_view FieldValueInBlocks(const char* field, std::size_t width, const char* lineEnd) {
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
            end = blockStart + static_cast<std::size_t>(std::bit_width(text));
            break;
        }
        end = blockStart;
    }
    return {field + begin, end - begin};
}

}  // namespace talveron
