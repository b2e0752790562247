#include "cli/run_summary.h"

#include <cstdio>
#include <string>

namespace talveron {

namespace {

std::string Row(std::string_view caption, const RunCounters& counters, int row) {
    char text[96];
    std::snprintf(text, sizeof text, "  %-10s%12s%12s%12s\n", std::string(caption).c_str(),
                  FormatGrouped(counters.values[3 * row]).c_str(),
                  FormatGrouped(counters.values[3 * row + 1]).c_str(),
                  FormatGrouped(counters.values[3 * row + 2]).c_str());
    return text;
}

std::string StatusLine(const RunOutcome& outcome) {
    switch (outcome.status) {
        case RunStatus::Validated:
            return outcome.counters.totalErrors() == 0 ? "validated, no errors"
                                                       : "validated, errors found";
        case RunStatus::StoppedByLimit:
            return "stopped automatically: " + outcome.cancelReason;
        default:
            break;
    }
    const RunStatusWords& words = WordsOf(outcome.status);
    return std::string(words.message.empty() ? words.name : words.message);
}

}  // namespace

void PrintRunSummary(std::ostream& out, const RunOutcome& outcome) {
    out << outcome.paths.load.string() << '\n';
    out << "  Status:   " << StatusLine(outcome) << '\n';
    if (outcome.status == RunStatus::TooSmall || outcome.status == RunStatus::Unreadable ||
        outcome.status == RunStatus::Refused || outcome.status == RunStatus::TooLarge) {
        return;
    }
    out << "  Elapsed:  " << outcome.elapsed << '\n';
    out << "                 Processed    Warnings      Errors\n";
    const RunCounters& counters = outcome.counters;
    out << Row("Dose", counters, 0) << Row("Intake", counters, 1) << Row("Comment", counters, 2)
        << Row("Total", counters, 3);
    out << "  Results:  ";
    if (outcome.resultsWritten) {
        out << outcome.paths.results.string() << " (" << outcome.findingCount << " findings)\n";
    } else {
        out << "none written\n";
    }
    out << "  Report:   "
        << (outcome.reportWritten ? outcome.paths.report.string() : "none written") << '\n';
}

int ExitStatusOf(const RunOutcome& outcome) {
    if (!RunProblems(outcome).empty() || outcome.status == RunStatus::Cancelled) return 2;
    if (outcome.status == RunStatus::StoppedByLimit || outcome.counters.totalErrors() > 0) return 1;
    return 0;
}

}  // namespace talveron
