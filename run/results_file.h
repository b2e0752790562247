#pragma once

#include <cstdint>
#include <string>

#include "engine/finding.h"

namespace talveron {

// A finding section is nine CR LF lines: an empty line, "[n]", Line, Col, Char, Msg, Data (the
// record as read), Type ("H" when the check passed "H", else character 41 of the record, nothing
// when the record is shorter) and Level. It is written in two parts, so that all but the number
// can be composed before the findings ahead of it are numbered.

/// The start of finding section `number`, up to and including the number: "\r\n[n".
void AppendFindingSectionNumber(std::string& out, std::int64_t number);

/// The rest of a finding's section, from the "]" that closes its number.
void AppendFindingSectionBody(std::string& out, const Finding& finding);

/// The trailer: "[ERROR]" and "Count=" with the number of findings written.
void AppendResultsTrailer(std::string& out, std::int64_t count);

}  // namespace talveron
