#pragma once

#include <filesystem>
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
};

/// talveron-cli: parses the arguments (without the program name), validates every load file and
/// prints to `out` and `err`. Returns the exit status (0, 1 or 2; see the usage text).
int RunCli(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment);

}  // namespace talveron
