#pragma once

#include <vector>

#include "config/option_settings.h"
#include "run/validation_run.h"
#include "ui/operator_message.h"

namespace talveron {

/// The last thing a run offers the operator.
enum class ClosingOffer {
    None,         ///< the run never started its passes: nothing more to say
    ViewResults,  ///< "View encountered errors/warnings?", then the results viewer
    ViewReport,   ///< "View Distribution Summary Report?", then the report window
    Done,         ///< "Done!"
};

/// How the window closes a run once the engine has returned.
struct RunClosing {
    bool retitle = false;                   ///< the passes ran: the window takes its run caption
    std::vector<OperatorMessage> messages;  ///< shown in this order before the offer
    ClosingOffer offer = ClosingOffer::None;
};

/// The window's caption after a run whose passes ran.
inline constexpr std::string_view kRunWindowTitle = "MORVA Data File Validation";

/// The closing steps of a run from its outcome and the options it ran with. The results viewer is
/// offered only on a results file this run wrote, the report only when this run wrote one; a file
/// that could not be written is reported with the system's reason instead.
RunClosing PlanRunClosing(const RunOutcome& outcome, const OptionSettings& options);

/// The question or message of an offer (ViewResults, ViewReport or Done).
OperatorMessage OfferMessage(ClosingOffer offer);

}  // namespace talveron
