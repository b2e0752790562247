#pragma once

#include <cstdint>
#include <string_view>

namespace talveron {

/// Where a record states its type: character 41 of the line.
inline constexpr std::int32_t kRecordTypeCharacter = 41;

/// The column that findings about a whole record point at: the record-type field, field 5 of the
/// dose, intake and comment layouts.
inline constexpr std::int32_t kRecordTypeColumn = 5;

/// The record type a line states: its character 41, empty when the line is shorter.
inline std::string_view StatedRecordType(std::string_view line) {
    constexpr auto at = static_cast<std::size_t>(kRecordTypeCharacter - 1);
    return line.size() > at ? line.substr(at, 1) : std::string_view{};
}

/// A dose record, as the register counts and numbers them: "D" in character 41, on any line.
inline bool IsDoseLine(std::string_view line) { return StatedRecordType(line) == "D"; }

/// An intake record: "I" in character 41, on any line.
inline bool IsIntakeLine(std::string_view line) { return StatedRecordType(line) == "I"; }

}  // namespace talveron
