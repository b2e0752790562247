#include "run/run_html_report.h"

#include <sstream>

#include "run/output_file.h"
#include "run/run_folder.h"

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

Status SaveHtmlReport(const std::filesystem::path& path, const HtmlReport& report,
                      TemporaryFileList* temporaries) {
    const std::string name = path.filename().string();
    if (name.empty() || name == "." || name == "..") {
        return Status::Error(Status::Code::Refused,
                             QuotedPath(path) + " names a folder, not a file");
    }
    RunFolder folder;
    const std::filesystem::path parent = path.parent_path();
    if (const Status opened = RunFolder::OpenOutputs(parent.empty() ? "." : parent, name, folder);
        !opened.ok()) {
        return opened;
    }
    std::ostringstream text;
    if (!WriteHtmlReport(text, report)) {
        return Status::Error(Status::Code::WriteFailed, "the report could not be composed");
    }
    // Written beside its name and renamed over it when whole, as the run's outputs are, so the
    // name never shows part of a report and no link there is written through.
    OutputFile file(&folder, name, "htm", temporaries);
    file.append(std::move(text).str());
    return file.commit();
}

}  // namespace talveron
