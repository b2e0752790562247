#include "cli/terminal_colors.h"

namespace talveron {

std::string TerminalColors::paint(std::string_view text, Tone tone) const {
    if (!on_) return std::string(text);
    // Bold red and bold magenta, as compilers mark errors and warnings; green; bold.
    constexpr std::string_view kStarts[] = {"\x1b[1;31m", "\x1b[1;35m", "\x1b[32m", "\x1b[1m"};
    return std::string(kStarts[static_cast<int>(tone)]) + std::string(text) + "\x1b[0m";
}

}  // namespace talveron
