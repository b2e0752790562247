#pragma once

#include <span>
#include <string>

namespace talveron {

/// What the desktop program is asked to do by its command line.
struct DesktopCommand {
    enum class Action { Open, Help, Version, UsageError };

    Action action = Action::Open;
    std::string loadFile;  ///< Open: the load file to validate at once; empty for none
    std::string error;     ///< UsageError: what is wrong with the arguments
};

/// Reads the arguments after the program's name: [-h|--help] [--version] [--] [LOADFILE].
/// --help, then --version, win over anything else, so that they work before the window system
/// has taken its own options out of the arguments.
DesktopCommand ParseDesktopCommandLine(std::span<const std::string> arguments);

/// The text --help prints.
std::string DesktopUsage();

}  // namespace talveron
