#pragma once

#include <cstdint>
#include <string_view>

#include "config/option_settings.h"

namespace talveron {

enum class Level { Error, Warning };

/// "ERROR" or "WARNING".
std::string_view LevelText(Level level);

/// What part of the line a finding points at: the whole field, or one character of it.
enum class Span { Field, Character };

/// One finding as a check reports it. Views are valid only during the report call.
struct Finding {
    OptionKey code = OptionKey::IRT;  ///< the check code that switches the check
    Level level = Level::Error;       ///< the level written
    std::string_view message;
    std::int64_t lineNumber = 0;
    std::int32_t column = 0;     ///< field ordinal in the record's layout; 0 when none
    std::int32_t character = 0;  ///< 1-based position in the line; 0 when none
    bool headerType = false;     ///< the check passed the type "H" (written as Type=H)
    std::string_view record;     ///< the whole line, without its terminator
    /// The counter the finding went to: `level`, but for an invalid record length, which is
    /// written as ERROR and counted as a warning when the record is too long, and the other way
    /// round for a short header.
    Level counted = Level::Error;
};

/// Where a finding sits in its record, for printers that show more than the results file does.
struct FindingPlace {
    char recordType = 0;  ///< type the dispatcher gave the record ('H' for line 1); 0 when none
    std::string_view fieldName;  ///< name of field `column` without blanks; empty when none
    std::string_view value;      ///< trimmed value of that field; empty when none
    std::int32_t spanFirst = 0;  ///< first character of the span pointed at
    std::int32_t spanLast = 0;   ///< last character of the span pointed at
};

}  // namespace talveron
