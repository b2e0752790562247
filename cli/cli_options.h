#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/calendar.h"

namespace talveron {

/// How findings are printed on standard output.
enum class OutputFormat { Text, Gnu, Json, Csv };

/// The command line of talveron-cli.
struct CliOptions {
    std::optional<std::filesystem::path> configPath;
    std::optional<LocalDateTime> asOf;
    int jobs = 1;
    std::optional<int> threads;  ///< checking threads per file; unset: ValidationThreads(jobs)
    OutputFormat format = OutputFormat::Text;
    bool quiet = false;
    bool help = false;
    bool version = false;
    bool installConfig = false;
    bool checkConfig = false;
    std::optional<std::filesystem::path> outputDir;
    bool noOutputs = false;
    std::vector<std::filesystem::path> loadFiles;
};

struct CliParse {
    CliOptions options;
    std::string error;  ///< empty when the command line is valid
};

/// Reads the arguments (without the program name). Options take their value as the next
/// argument or after "="; "--" ends the options.
CliParse ParseCliOptions(std::span<const std::string> arguments);

/// The --help text.
std::string CliUsage();

}  // namespace talveron
