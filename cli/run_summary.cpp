#include "cli/run_summary.h"

#include <optional>
#include <string>

namespace talveron {

namespace {

/// A counter right-aligned in 12 columns, coloured in `tone` (if any) when it is not 0.
std::string Cell(std::int64_t value, std::optional<Tone> tone, const TerminalColors& colors) {
    const std::string text = FormatGrouped(value);
    const std::string padding(text.size() < 12 ? 12 - text.size() : 0, ' ');
    return padding + (value != 0 && tone ? colors.paint(text, *tone) : text);
}

std::string Row(std::string_view caption, const RunCounters& counters, int row,
                const TerminalColors& colors) {
    std::string text = "  " + std::string(caption);
    text.append(caption.size() < 10 ? 10 - caption.size() : 0, ' ');
    return text + Cell(counters.values[3 * row], std::nullopt, colors) +
           Cell(counters.values[3 * row + 1], Tone::Warning, colors) +
           Cell(counters.values[3 * row + 2], Tone::Error, colors) + '\n';
}

}  // namespace

void PrintRunSummary(std::ostream& out, const RunOutcome& outcome, const TerminalColors& colors) {
    out << outcome.paths.load.string() << '\n';
    const bool clean =
        outcome.status == RunStatus::Validated && outcome.counters.totalErrors() == 0;
    out << "  Status:   " << colors.paint(StatusLine(outcome), clean ? Tone::Clean : Tone::Error)
        << '\n';
    if (outcome.status == RunStatus::TooSmall || outcome.status == RunStatus::Unreadable ||
        outcome.status == RunStatus::Refused || outcome.status == RunStatus::TooLarge) {
        return;
    }
    out << "  Elapsed:  " << outcome.elapsed << '\n';
    out << "                 Processed    Warnings      Errors\n";
    const RunCounters& counters = outcome.counters;
    out << Row("Dose", counters, 0, colors) << Row("Intake", counters, 1, colors)
        << Row("Comment", counters, 2, colors) << Row("Total", counters, 3, colors);
    out << "  Results:  ";
    if (outcome.resultsWritten) {
        out << outcome.paths.results.string() << " (" << outcome.findingCount << " findings)\n";
    } else {
        out << "none written\n";
    }
    out << "  Report:   "
        << (outcome.reportWritten ? outcome.paths.report.string() : "none written") << '\n';
}

}  // namespace talveron
