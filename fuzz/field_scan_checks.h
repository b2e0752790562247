#pragma once

#include <string>
#include <string_view>

#include "config/record_layout.h"

namespace talveron {

/// Checks the block-at-a-time scans of every line of a load file (CR, LF and CR LF end a line)
/// against their definitions, byte by byte: for every field of the four layouts, FieldValue is
/// the field's text with its blanks trimmed, at its place in the line; and for both that value and
/// the untrimmed field text, every character set's allAllowed agrees with allows() on each byte
/// and LooksLikeTestData agrees with a search of the upper-cased text, and DoseSyntaxPasses
/// agrees with DoseValueSyntax.
/// Returns the first disagreement, or empty.
std::string CheckFieldScans(const LayoutTable& layouts, std::string_view load);

}  // namespace talveron
