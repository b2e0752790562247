#include "run/html_section.h"

namespace talveron {

HtmlFileSection HtmlSectionOf(const RunOutcome& outcome, const FindingGroups* findings) {
    HtmlFileSection section;
    section.loadPath = outcome.paths.load.string();
    section.outcome = StatusLine(outcome);
    section.errorsOrStopped = ExitStatusOf(outcome) != 0;
    section.counters = outcome.counters;
    section.header = outcome.header;
    section.summary = outcome.summary;
    section.findings = findings;
    return section;
}

}  // namespace talveron
