#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talveron {

/// Separates the configuration from the load file in an input of the fuzzed-configuration target.
inline constexpr std::string_view kLoadFileMarker = "\n@@LOAD@@\n";

/// Validates the input as a load file with the shipped production configuration, twice, in the
/// work directory with a fixed clock, and checks the outcome (after CheckFieldScans of the lines):
/// the status fits the file; every line is checked and counted; every counted finding is reported;
/// the results file holds the findings, numbered, each on a line of the file, and its trailer; the
/// report is written when it should be; no file but the two outputs appears and the load file and
/// its neighbour keep their bytes; the second run writes the same bytes. Returns the first broken
/// invariant, or empty.
std::string CheckRunWithProductionConfiguration(std::string_view input,
                                                const std::filesystem::path& workDirectory);

/// The same run and checks with the configuration taken from the input: the text before
/// kLoadFileMarker is the configuration, the rest the load file (without the marker the same bytes
/// serve as both). A configuration without all four layouts is refused before any run, as the
/// front ends do, and is not run.
std::string CheckRunWithFuzzedConfiguration(std::string_view input,
                                            const std::filesystem::path& workDirectory);

}  // namespace talveron
