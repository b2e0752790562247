#pragma once

#include "config/record_frame.h"

#include <cstdint>
#include <string_view>

namespace talveron {

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
