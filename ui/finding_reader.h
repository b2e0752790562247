#pragma once

#include <cstdint>
#include <string>

#include "config/ini_document.h"

namespace talveron {

/// One finding of a results file, as the results viewer shows it.
struct ResultsFinding {
    std::int32_t line = 0;       ///< Line: the load-file line the finding is about
    std::int16_t column = 0;     ///< Col: the field ordinal in the record's layout
    std::int16_t character = 0;  ///< Char: 1-based position in the line
    std::string message;         ///< Msg
    std::string record;          ///< Data: the whole load-file line
    std::string type;            ///< the record type whose layout names the fields
    std::string level;           ///< "ERROR", "WARNING", or whatever the file holds
    std::int16_t total = 0;      ///< Count of section ERROR: the number of findings

    /// The level is shown in the error colour when it starts with "E".
    bool errorLevel() const { return !level.empty() && level.front() == 'E'; }
};

/// Reads finding `number` (section "1", "2", ...). Every missing key reads as "0". Msg and Data are
/// taken exactly as written after their "=", so a record with leading blanks or quotes keeps its
/// character positions; the numbers are read by the number rule, rounded half to even; a finding
/// on line 1 always has type "H".
ResultsFinding ReadFinding(const IniDocument& results, int number);

}  // namespace talveron
