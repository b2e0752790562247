#include "bench/record_writer.h"

#include <algorithm>

namespace talveron::bench {

namespace {

/// Where a field sits in the line, or nothing for a field without a usable width or start.
struct Placement {
    std::size_t first = 0;
    std::size_t width = 0;
};

Placement PlacementOf(const RecordLayout& layout, int ordinal) {
    const FieldDef* field = layout.field(ordinal);
    if (field == nullptr || field->len <= 0 || field->start < 1) return {};
    return {static_cast<std::size_t>(field->start - 1), static_cast<std::size_t>(field->len)};
}

}  // namespace

std::size_t LayoutWidth(const RecordLayout& layout) {
    std::size_t width = 0;
    for (int ordinal = 1; ordinal <= layout.count(); ++ordinal) {
        const Placement place = PlacementOf(layout, ordinal);
        width = std::max(width, place.first + place.width);
    }
    return width;
}

RecordWriter::RecordWriter(const RecordLayout& layout)
    : layout_(layout), line_(LayoutWidth(layout), ' ') {}

void RecordWriter::clear() { std::fill(line_.begin(), line_.end(), ' '); }

void RecordWriter::set(int ordinal, std::string_view text) {
    const Placement place = PlacementOf(layout_, ordinal);
    if (place.width == 0) return;
    const std::size_t count = std::min(text.size(), place.width);
    std::copy_n(text.begin(), count, line_.begin() + static_cast<std::ptrdiff_t>(place.first));
    std::fill_n(line_.begin() + static_cast<std::ptrdiff_t>(place.first + count),
                place.width - count, ' ');
}

std::string_view RecordWriter::field(int ordinal) const {
    const Placement place = PlacementOf(layout_, ordinal);
    return std::string_view(line_).substr(place.first, place.width);
}

}  // namespace talveron::bench
