#include "ui/run_closing.h"

namespace talveron {

namespace {

constexpr std::string_view kCompleteTitle = "MORVA Validation Complete";

OperatorMessage NotWritten(std::string_view title, const Status& status) {
    return {std::string(title), status.message(), MessageIcon::Warning, {}};
}

}  // namespace

RunClosing PlanRunClosing(const RunOutcome& outcome, const OptionSettings& options) {
    RunClosing closing;
    switch (outcome.status) {
        case RunStatus::TooSmall:
            closing.messages.push_back({outcome.paths.load.string(),
                                        std::string(WordsOf(outcome.status).message),
                                        MessageIcon::None,
                                        {}});
            return closing;
        case RunStatus::Unreadable:
            closing.messages.push_back({std::string(kProgramTitle),
                                        std::string(WordsOf(outcome.status).message),
                                        MessageIcon::None, outcome.problem});
            return closing;
        case RunStatus::Refused:
        case RunStatus::TooLarge:
            closing.messages.push_back(
                {std::string(kProgramTitle), outcome.problem, MessageIcon::Warning, {}});
            return closing;
        case RunStatus::Validated:
        case RunStatus::Cancelled:
        case RunStatus::StoppedByLimit:
            break;
    }
    closing.retitle = true;
    if (!outcome.cancelReason.empty()) {
        closing.messages.push_back(
            {"Validation Cancelled Automatically", outcome.cancelReason, MessageIcon::Warning, {}});
    }
    if (!outcome.resultsStatus.ok()) {
        closing.messages.push_back(NotWritten("Results File Not Written", outcome.resultsStatus));
    }
    if (!outcome.reportStatus.ok()) {
        closing.messages.push_back(NotWritten("Summary Report Not Written", outcome.reportStatus));
    }
    if (outcome.findingCount > 0 && options.on(OptionKey::GRF) && outcome.resultsWritten) {
        closing.offer = ClosingOffer::ViewResults;
    } else if (options.on(OptionKey::GDR) && outcome.reportWritten) {
        closing.offer = ClosingOffer::ViewReport;
    } else {
        closing.offer = ClosingOffer::Done;
    }
    return closing;
}

OperatorMessage OfferMessage(ClosingOffer offer) {
    const std::string title(kCompleteTitle);
    switch (offer) {
        case ClosingOffer::ViewResults:
            return {title, "View encountered errors/warnings?", MessageIcon::Question, {}};
        case ClosingOffer::ViewReport:
            return {title, "View Distribution Summary Report?", MessageIcon::Question, {}};
        case ClosingOffer::Done:
        case ClosingOffer::None:
            break;
    }
    return {title, "Done!", MessageIcon::Information, {}};
}

}  // namespace talveron
