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

std::string RunProblem(const RunOutcome& outcome) {
    switch (outcome.status) {
        case RunStatus::TooSmall:
        case RunStatus::Unreadable:
        case RunStatus::Refused:
        case RunStatus::TooLarge: {
            const std::string_view message = WordsOf(outcome.status).message;
            return message.empty() ? outcome.problem
                                   : std::string(message) + " " + outcome.problem;
        }
        case RunStatus::Validated:
        case RunStatus::Cancelled:
        case RunStatus::StoppedByLimit:
            break;
    }
    if (!outcome.resultsStatus.ok())
        return "results file not written: " + outcome.resultsStatus.message();
    if (!outcome.reportStatus.ok()) return "report not written: " + outcome.reportStatus.message();
    return {};
}

}  // namespace talveron
