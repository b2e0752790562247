#include "ui/run_findings.h"

#include "run/finding_writer.h"

namespace talveron {

RunFindings::RunFindings(const LayoutTable& layouts, const OptionSettings& options,
                         std::optional<std::vector<IdentityDigest>> earlier)
    : layouts_(layouts), options_(options), identifier_(layouts_), groups_(layouts_) {
    if (earlier) comparison_.emplace(*earlier);
}

void RunFindings::findingReported(const Finding& finding, const FindingPlace& place) {
    groups_.add(finding, place);
    const IdentityDigest digest = DigestOf(identifier_.of(finding, place));
    digests_.push_back(digest);
    // The results file numbers the findings it holds; the viewer steps through those.
    const bool written = WrittenToResults(options_, finding);
    if (written) ++written_;
    if (comparison_ && comparison_->match(digest) == BaselineState::New && written)
        newInResults_.push_back(written_);
}

std::optional<BaselineCounts> RunFindings::sinceLastRun() const {
    if (!comparison_) return std::nullopt;
    return comparison_->counts();
}

}  // namespace talveron
