#pragma once

#include <filesystem>

class QPrinter;

namespace talveron {

/// Prints a results file on the printer, line by line in a fixed-pitch font, each key line
/// rewritten by PrintedResultsLine. False, with nothing printed, when the file cannot be read.
bool PrintResultsFile(const std::filesystem::path& path, QPrinter& printer);

}  // namespace talveron
