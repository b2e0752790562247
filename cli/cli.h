#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <span>
#include <string>

#include "run/cancel_request.h"
#include "run/clock.h"
#include "run/temporary_file_list.h"

namespace talveron {

/// What the command-line validator takes from its surroundings, injected so tests control it.
struct CliEnvironment {
    std::filesystem::path configDirectory;  ///< where TALVERON.CFG is looked for; empty: nowhere
    const Clock& clock;
    /// Set by an interrupt: the runs under way end as cancelled, later files are not begun.
    const CancelRequest* cancel = nullptr;
    /// Where the runs list their temporary output files, for removal on a second interrupt.
    TemporaryFileList* temporaries = nullptr;
    bool outputIsTerminal = false;  ///< standard output is a terminal: colour by default
    bool errorIsTerminal = false;   ///< standard error is a terminal: the progress line
    int terminalColumns = 80;       ///< the width of standard error's terminal
    /// The value of an environment variable (NO_COLOR), or null; none are set when empty.
    std::function<const char*(const char*)> variable;
};

/// talveron-cli: parses the arguments (without the program name), validates every load file and
/// prints to `out` and `err`. Returns the exit status (0, 1 or 2; see the usage text).
int RunCli(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment);

}  // namespace talveron
