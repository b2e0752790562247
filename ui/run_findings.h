#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "report/baseline_comparison.h"
#include "report/finding_groups.h"
#include "report/finding_identity.h"
#include "run/run_observer.h"

namespace talveron {

/// What the desktop keeps of one run's findings: their groups for the HTML report, the digests
/// of their identities for the next run of the load file, and, compared with the last run's
/// digests, which of them are new. Filled on the run's thread, read once the run has ended.
class RunFindings final : public RunObserver {
public:
    /// `earlier`: the digests of the last run of the load file, if one was kept.
    RunFindings(const LayoutTable& layouts, const OptionSettings& options,
                std::optional<std::vector<IdentityDigest>> earlier);
    RunFindings(const RunFindings&) = delete;  // the groups refer to the layouts kept here
    RunFindings& operator=(const RunFindings&) = delete;

    void findingReported(const Finding& finding, const FindingPlace& place) override;

    const FindingGroups& groups() const { return groups_; }
    /// Every counted finding's digest, in file order.
    const std::vector<IdentityDigest>& digests() const { return digests_; }
    /// The findings fixed, new and unchanged since the last run; nullopt without one.
    std::optional<BaselineCounts> sinceLastRun() const;
    /// The numbers (1, 2, ...) of the findings of the results file that are new since the last
    /// run, ascending; empty without one.
    const std::vector<std::int64_t>& newInResults() const { return newInResults_; }

private:
    LayoutTable layouts_;  // the groups and the identifier read it
    OptionSettings options_;
    FindingIdentifier identifier_;
    FindingGroups groups_;
    std::vector<IdentityDigest> digests_;
    std::optional<BaselineComparison> comparison_;
    std::int64_t written_ = 0;
    std::vector<std::int64_t> newInResults_;
};

}  // namespace talveron
