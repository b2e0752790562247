#pragma once

#include <string>
#include <string_view>

#include "config/record_layout.h"

namespace talveron::bench {

/// The width of a layout's full record: up to the end of its rightmost field.
std::size_t LayoutWidth(const RecordLayout& layout);

/// One record line of a layout under construction: blanks to the layout's full width, each field
/// written left-aligned from its start and cut to its width. Reused from record to record, so the
/// per-record work is a fill and a few copies.
class RecordWriter {
public:
    explicit RecordWriter(const RecordLayout& layout);

    /// Every character blank again.
    void clear();
    /// Writes field `ordinal` (1-based); a field the layout lacks (ordinal 0) is ignored.
    void set(int ordinal, std::string_view text);
    /// The current text of field `ordinal`, blanks included; empty for a field the layout lacks.
    std::string_view field(int ordinal) const;
    /// The whole line at the layout's full width.
    std::string_view line() const { return line_; }

private:
    const RecordLayout& layout_;
    std::string line_;
};

}  // namespace talveron::bench
