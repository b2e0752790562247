#pragma once

#include <cstdint>
#include <string_view>

#include "config/record_layout.h"

namespace talveron {

/// Where a field lies in a line, worked out once from its definition.
struct FieldSpan {
    std::uint32_t first = 0;  ///< offset of its first character in the line
    std::uint32_t width = 0;  ///< characters it spans; 0 when it has no valid width or start

    static FieldSpan Of(const FieldDef& field);
};

/// The trimmed text of a field: its width from its start, shorter or empty where the line ends,
/// blanks around it removed.
std::string_view FieldValue(std::string_view line, FieldSpan span);

}  // namespace talveron
