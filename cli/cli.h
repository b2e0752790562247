#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string>

#include "run/clock.h"

namespace talveron {

/// What the command-line validator takes from its surroundings, injected so tests control it.
struct CliEnvironment {
    std::filesystem::path configDirectory;  ///< where TALVERON.CFG is looked for
    const Clock& clock;
};

/// talveron-cli: parses the arguments (without the program name), validates every load file and
/// prints to `out` and `err`. Returns the exit status (0, 1 or 2; see the usage text).
int RunCli(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment);

}  // namespace talveron
