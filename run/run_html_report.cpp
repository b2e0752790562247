#include "run/run_html_report.h"

#include <cerrno>
#include <cstring>
#include <fstream>

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

Status SaveHtmlReport(const std::filesystem::path& path, const HtmlReport& report) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out && WriteHtmlReport(out, report) && out.flush()) return Status::Ok();
    return Status::Error(Status::Code::WriteFailed, "cannot write the HTML report " +
                                                        QuotedPath(path) + ": " +
                                                        std::strerror(errno != 0 ? errno : EIO));
}

}  // namespace talveron
