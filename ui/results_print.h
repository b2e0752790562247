#pragma once

#include <string>
#include <string_view>

namespace talveron {

/// A line of a results file as it is printed: a key line whose first "=" is at position 1 to 6
/// becomes the key, ":" and blanks up to 7 characters, then the value ("Line=12" prints as
/// "Line:  12"); section headers, blank lines and longer keys print as they are.
std::string PrintedResultsLine(std::string_view line);

}  // namespace talveron
