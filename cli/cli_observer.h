#pragma once

#include <cstdint>

#include "cli/baseline_file.h"
#include "cli/finding_printer.h"
#include "cli/progress_line.h"
#include "report/baseline_comparison.h"
#include "report/finding_groups.h"
#include "report/finding_identity.h"
#include "report/personal_data_mask.h"
#include "run/run_observer.h"

namespace talveron {

/// What the command line does with the events of one run: every counted finding goes to the
/// HTML report's groups as it is, is matched with the baseline's findings, and goes to the
/// file's printer masked when a mask is given (each when there is one); the progress goes to
/// the progress line (when there is one). Runs on the run's thread.
class CliObserver final : public RunObserver {
public:
    CliObserver(const FindingIdentifier& identifier, FilePrinter* printer, FindingGroups* groups,
                const PersonalDataMask* mask, ProgressLine* progress)
        : identifier_(identifier),
          printer_(printer),
          groups_(groups),
          mask_(mask),
          progress_(progress) {}

    /// Matches the findings to come with an earlier run's; `earlierMasked`: its personal data
    /// was printed masked. `comparison` must outlive the run.
    void compareWith(BaselineComparison& comparison, bool earlierMasked) {
        comparison_ = &comparison;
        earlierMasked_ = earlierMasked;
    }

    void findingReported(const Finding& finding, const FindingPlace& place) override;
    void phaseChanged(RunPhase phase) override;
    void progressChanged(int pass, int overall) override;
    void elapsedChanged(std::string_view text) override;

    /// Prints a finding of the baseline that no finding matched, masked as the run's are.
    void reportFixed(const EarlierFinding& finding);
    /// The findings counted as ERROR that matched none of the baseline's.
    std::int64_t newErrors() const { return newErrors_; }

private:
    const FindingIdentifier& identifier_;
    FilePrinter* printer_;
    FindingGroups* groups_;
    const PersonalDataMask* mask_;
    ProgressLine* progress_;
    BaselineComparison* comparison_ = nullptr;
    bool earlierMasked_ = false;
    std::int64_t newErrors_ = 0;
};

}  // namespace talveron
