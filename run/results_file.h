#pragma once

#include <cstdint>
#include <string>

#include "engine/finding.h"

namespace talveron {

/// The nine CR LF lines of finding section `number`: an empty line, "[n]", Line, Col, Char, Msg,
/// Data (the record as read), Type ("H" when the check passed "H", else character 41 of the
/// record, nothing when the record is shorter) and Level.
void AppendFindingSection(std::string& out, std::int64_t number, const Finding& finding);

/// The trailer: "[ERROR]" and "Count=" with the number of findings written.
void AppendResultsTrailer(std::string& out, std::int64_t count);

}  // namespace talveron
