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
enum class OutputFormat { Text, Gnu, Json, Csv, Sarif };

/// When standard output is coloured.
enum class ColorWhen { Auto, Always, Never };

/// The command line of talveron-cli.
struct CliOptions {
    std::optional<std::filesystem::path> configPath;
    std::optional<LocalDateTime> asOf;
    int jobs = 1;
    std::optional<int> threads;  ///< checking threads per file; unset: ValidationThreads(jobs)
    OutputFormat format = OutputFormat::Text;
    ColorWhen color = ColorWhen::Auto;
    std::optional<std::filesystem::path> htmlPath;  ///< where the HTML report goes
    bool mask = false;                              ///< personal data masked in what is shown
    /// The --format json output of an earlier run, whose findings the findings are compared with.
    std::optional<std::filesystem::path> baselinePath;
    bool failOnNew = false;  ///< exit status 1 only for an ERROR new against the baseline
    bool checkConfig = false;
    std::optional<std::filesystem::path> outputDir;  ///< where the outputs go instead
    bool noOutputs = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
    bool installConfig = false;
    std::vector<std::filesystem::path> loadFiles;
};

struct CliParse {
    CliOptions options;
    std::string error;  ///< empty when the command line is valid; names the bad option
};

/// Reads the arguments (without the program name) as getopt_long does: short options bundle
/// ("-qj2"), long options take their value after "=" or as the next argument, a unique prefix of
/// a long option names it, options and load files mix, and "--" ends the options. Not reentrant:
/// getopt_long keeps its state in globals.
CliParse ParseCliOptions(std::span<const std::string> arguments);

/// The --help text.
std::string CliUsage();

}  // namespace talveron
