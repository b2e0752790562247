#include "ui/command_line.h"

namespace talveron {

DesktopCommand ParseDesktopCommandLine(std::span<const std::string> arguments) {
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    DesktopCommand command;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            if (argument == "--") {
                optionsEnded = true;
            } else if (argument == "--help" || argument == "-h") {
                help = true;
            } else if (argument == "--version") {
                version = true;
            } else if (command.error.empty()) {
                command.error = "unknown option '" + argument + "'";
            }
        } else if (command.loadFile.empty()) {
            command.loadFile = argument;
        } else if (command.error.empty()) {
            command.error = "one load file at a time: '" + argument + "' is one too many";
        }
    }
    if (help) return {DesktopCommand::Action::Help, {}, {}};
    if (version) return {DesktopCommand::Action::Version, {}, {}};
    if (!command.error.empty()) command.action = DesktopCommand::Action::UsageError;
    return command;
}

std::string DesktopUsage() {
    return R"(Usage: talveron [OPTION]... [LOADFILE]
Open the Talveron window, the desktop validator for MORVA load files (*.dat).
With a load file, select it and start its validation at once, as VALIDATE does.
After each run the window says what changed since the file's last run ("Since the last
run: 12 fixed, 3 new, 40 unchanged"); File > Save HTML Report writes the run's findings
as a web page, with personal data masked unless asked otherwise.

Options:
  -h, --help     show this help and exit
      --version  show the version and exit

The options of Qt programs (such as -platform and -style) are accepted as well.
The findings of the last run of each load file are kept in $XDG_STATE_HOME/talveron
(else ~/.local/state/talveron). talveron-cli validates load files without a window.
)";
}

}  // namespace talveron
