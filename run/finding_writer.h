#pragma once

#include <cstdint>
#include <string>

#include "config/option_settings.h"
#include "engine/occurrence_tally.h"
#include "engine/record_context.h"
#include "run/output_file.h"
#include "run/run_observer.h"
#include "run/run_timer.h"

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

/// Writes each finding of the run: refreshes the elapsed time, numbers and appends the finding to
/// the results file when GRF is on (and, for warnings, IW), shows it in the information line, and
/// tallies it when IOS is on. Every counted finding also goes to the observer.
class FindingWriter final : public FindingSink {
public:
    FindingWriter(const OptionSettings& options, OutputFile& results, OccurrenceTally& tally,
                  RunObserver& observer, RunTimer& timer, InformationLine& information);

    void writeFinding(const Finding& finding, const FindingPlace& place) override;

    /// The findings written to the results file in this run.
    std::int64_t findingCount() const { return findingCount_; }

private:
    const OptionSettings& options_;
    OutputFile& results_;
    OccurrenceTally& tally_;
    RunObserver& observer_;
    RunTimer& timer_;
    InformationLine& information_;
    std::int64_t findingCount_ = 0;
    std::string section_;  // reused for every finding, so writing allocates nothing
    std::string caption_;
    std::string informationText_;
};

}  // namespace talveron
