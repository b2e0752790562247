#pragma once

#include <cstdint>
#include <string>

#include "config/option_settings.h"
#include "run/finding_buffer.h"
#include "run/output_file.h"
#include "run/run_observer.h"

namespace talveron {

/// The information frame's caption and line, as the run and the writer set them.
class InformationLine {
public:
    explicit InformationLine(RunObserver& observer) : observer_(observer) {}
    void show(std::string_view caption, std::string_view text);
    void showText(std::string_view text) { show(caption_, text); }

private:
    RunObserver& observer_;
    std::string caption_ = "Information";
};

/// Whether a counted finding goes into the results file: GRF on and, for a warning, IW on.
bool WrittenToResults(const OptionSettings& options, const Finding& finding);

/// Writes each finding of the run in its turn: numbers and appends the finding to the results
/// file when GRF is on (and, for warnings, IW) and shows it in the information line. Every
/// counted finding also goes to the observer.
class FindingWriter {
public:
    FindingWriter(OutputFile& results, RunObserver& observer, InformationLine& information);

    /// Writes findings [first, last) of the buffer, in the order they were reported.
    void write(const FindingBuffer& findings, std::size_t first, std::size_t last);

    /// The findings written to the results file in this run.
    std::int64_t findingCount() const { return findingCount_; }

private:
    OutputFile& results_;
    RunObserver& observer_;
    InformationLine& informationLine_;
    std::int64_t findingCount_ = 0;
    // Reused for every finding, so that writing allocates nothing.
    std::string number_;
    std::string information_;
    std::string captions_[2];  // the information frame's caption for an error, for a warning
};

}  // namespace talveron
