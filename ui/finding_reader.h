#pragma once

#include <cstdint>
#include <string>

#include "config/ini_document.h"

namespace talveron {

/// One finding of a results file, as the results viewer shows it.
struct ResultsFinding {
    std::int64_t line = 0;       ///< Line: the load-file line the finding is about
    std::int32_t column = 0;     ///< Col: the field ordinal in the record's layout
    std::int32_t character = 0;  ///< Char: 1-based position in the line
    std::string message;         ///< Msg
    std::string record;          ///< Data: the whole load-file line
    std::string type;            ///< the record type whose layout names the fields
    std::string level;           ///< "ERROR", "WARNING", or whatever the file holds

    /// The level is shown in the error colour when it starts with "E".
    bool errorLevel() const { return !level.empty() && level.front() == 'E'; }
};

/// Reads finding `number` (section "1", "2", ...) from a document that holds its section. Every
/// missing key reads as "0". Msg and Data are taken exactly as written after their "=", so a
/// record with leading blanks or quotes keeps its character positions; the numbers are read by
/// the number rule, rounded half to even, as wide as the run writes them; a finding on line 1
/// always has type "H".
ResultsFinding ReadFinding(const IniDocument& results, std::int64_t number);

/// The key COUNT of section ERROR, the trailer: the number of findings the run wrote; 0 when
/// missing.
std::int64_t ReadFindingCount(const IniDocument& results);

}  // namespace talveron
