#pragma once

#include <cstdint>
#include <string>

#include "engine/finding.h"

namespace talveron {

// A finding section is nine CR LF lines: an empty line, "[n]", Line, Col, Char, Msg, Data (the
// record as read), Type ("H" when the check passed "H", else character 41 of the record, nothing
// when the record is shorter) and Level. It is written in parts: the number, which depends on
// the findings before it; the head and the tail, which can be composed ahead of that; and the
// record between them, which the caller holds already.

/// The start of finding section `number`, up to and including the number: "\r\n[n".
void AppendFindingSectionNumber(std::string& out, std::int64_t number);

/// From the "]" that closes the number up to "Data="; returns the offset in `out` at which the
/// message was written.
std::size_t AppendFindingSectionHead(std::string& out, const Finding& finding);

/// What follows the record: the Type and Level lines.
void AppendFindingSectionTail(std::string& out, const Finding& finding);

/// The trailer: "[ERROR]" and "Count=" with the number of findings written.
void AppendResultsTrailer(std::string& out, std::int64_t count);

}  // namespace talveron
