#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace talveron {

/// What the program fixes about records whatever the layouts say. The layouts must fit it: the
/// record-type check reads character 41 and reports at field 5, and the record-length check
/// accepts these lengths.
inline constexpr int kRecordTypeField = 5;
inline constexpr std::int32_t kRecordTypeCharacter = 41;

/// The lengths the record-length check accepts for one record type.
struct RecordLengthLimits {
    char type;
    std::int64_t shortestRecordLength;  ///< line length + 2 below this is too short
    std::size_t longestTrimmed;         ///< trimmed length above this is too long
};

inline constexpr std::array<RecordLengthLimits, 4> kRecordLengthLimits{{
    {'H', 183, 323},
    {'D', 200, 200},
    {'I', 58, 66},
    {'C', 43, 282},
}};

}  // namespace talveron
