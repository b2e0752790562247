#pragma once

#include <filesystem>

class QPrinter;

namespace talveron {

/// Prints a results file on the printer, line by line in a fixed-pitch font, each key line
/// rewritten by PrintedResultsLine. A line wider than the page goes on in the lines below it,
/// under the value, so that every character of a record is printed. The file is read as it is
/// printed, a line at a time. False, with nothing printed, when the file cannot be opened.
bool PrintResultsFile(const std::filesystem::path& path, QPrinter& printer);

}  // namespace talveron
