#include "run/run_outcome.h"

#include <iterator>

namespace talveron {

const RunStatusWords& WordsOf(RunStatus status) {
    // In the order of RunStatus.
    static constexpr RunStatusWords kWords[] = {
        {"validated", {}},
        {"cancelled", {}},
        {"stopped by limit", {}},
        {"too small", "File is too small!"},
        {"unreadable", "Error Reading Load File!"},
        {"refused", {}},
        {"too large", {}},
    };
    static_assert(std::size(kWords) == static_cast<std::size_t>(RunStatus::TooLarge) + 1);
    return kWords[static_cast<std::size_t>(status)];
}

std::vector<std::string> RunProblems(const RunOutcome& outcome) {
    std::vector<std::string> problems;
    if (!outcome.problem.empty()) {
        const std::string_view message = WordsOf(outcome.status).message;
        problems.push_back(message.empty() ? outcome.problem
                                           : std::string(message) + " " + outcome.problem);
    }
    if (!outcome.resultsStatus.ok())
        problems.push_back("results file not written: " + outcome.resultsStatus.message());
    if (!outcome.reportStatus.ok())
        problems.push_back("report not written: " + outcome.reportStatus.message());
    return problems;
}

int ExitStatusOf(const RunOutcome& outcome) {
    if (!RunProblems(outcome).empty() || outcome.status == RunStatus::Cancelled) return 2;
    if (outcome.status == RunStatus::StoppedByLimit || outcome.counters.totalErrors() > 0) return 1;
    return 0;
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

}  // namespace talveron
