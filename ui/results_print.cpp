#include "ui/results_print.h"

namespace talveron {

namespace {

constexpr std::size_t kLastKeyEquals = 6;  // the position of "=" in "Level="
constexpr std::size_t kKeyWidth = 7;

}  // namespace

std::string PrintedResultsLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals + 1 > kLastKeyEquals) return std::string(line);
    std::string printed(line.substr(0, equals));
    printed += ':';
    if (printed.size() < kKeyWidth) printed.append(kKeyWidth - printed.size(), ' ');
    printed += line.substr(equals + 1);
    return printed;
}

}  // namespace talveron
