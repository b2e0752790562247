#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "bench/load_generator.h"

namespace talveron::bench {

/// The command line of talveron-loadgen, read.
struct LoadgenCommand {
    GeneratorSettings settings;
    std::filesystem::path output;
    std::optional<std::filesystem::path> configPath;  ///< instead of the shipped configuration
    bool help = false;
    std::string error;  ///< what is wrong with the command line; empty when nothing
};

/// Reads the arguments after the program name: --records N (required), --faults
/// none|one-percent|all, --seed S, --shape normal|one-person|long-lines|lf-only, --config PATH,
/// --help, and exactly one OUTPUT path.
LoadgenCommand ParseLoadgenCommand(std::span<const std::string> arguments);

/// The help text.
std::string_view LoadgenUsage();

}  // namespace talveron::bench
