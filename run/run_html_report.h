#pragma once

#include <filesystem>

#include "config/status.h"
#include "report/finding_groups.h"
#include "report/html_report.h"
#include "run/run_outcome.h"
#include "run/temporary_file_list.h"

namespace talveron {

/// What the HTML report shows of a run: its load path, how it ended, its counters, header and
/// summary figures, and `findings` (which must outlive the section; null: none gathered).
HtmlFileSection HtmlSectionOf(const RunOutcome& outcome, const FindingGroups* findings);

/// Writes the report to the file `path`, replacing what is there once it is whole; a failure
/// names the file and the system's reason. The temporary file is listed in `temporaries` (may
/// be null) while it exists.
Status SaveHtmlReport(const std::filesystem::path& path, const HtmlReport& report,
                      TemporaryFileList* temporaries = nullptr);

}  // namespace talveron
