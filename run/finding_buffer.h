#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/option_settings.h"
#include "engine/occurrence_tally.h"
#include "engine/record_context.h"

namespace talveron {

/// A finding as the buffer kept it, with what writing it needs that does not depend on the
/// findings before it.
struct BufferedFinding {
    Finding finding;
    FindingPlace place;
    /// The finding's results-file section after its number, without the record between its two
    /// parts; both are empty when the finding is not written to the results file.
    std::string_view sectionHead;
    std::string_view sectionTail;
    /// What the information line adds to the message: " Line:" and the line number.
    std::string_view informationSuffix;
};

/// Keeps the findings of records checked ahead of their turn, so that they reach the results file
/// later, in the order they were reported. What composing a finding's section, its information
/// line and its tally costs is paid here, on the thread that checked the records; numbering the
/// sections and joining their parts is left for the turn. The message is copied (into the
/// section when there is one); every other view of a finding (the line, the field's value and
/// name) must stay valid until the finding is written.
class FindingBuffer final : public FindingSink {
public:
    void writeFinding(const Finding& finding, const FindingPlace& place) override;

    /// Empties the buffer for findings reported under these options.
    void clear(const OptionSettings& options);
    /// The findings kept so far.
    std::size_t size() const { return kept_.size(); }
    BufferedFinding at(std::size_t index) const;
    /// The tally of the findings kept, when IOS is on.
    const OccurrenceTally& tally() const { return tally_; }

private:
    /// Where a finding's texts lie in text_: the section's head, which holds the message, then
    /// its tail, then the information suffix; for a finding not written, the message alone.
    struct Kept {
        Finding finding;  // message left empty: it lives in text_
        FindingPlace place;
        std::size_t headStart = 0;
        std::size_t messageStart = 0;
        std::size_t messageLength = 0;
        std::size_t tailStart = 0;
        std::size_t suffixStart = 0;
        std::size_t end = 0;
    };
    const OptionSettings* options_ = nullptr;
    std::vector<Kept> kept_;
    std::string text_;  // the findings' texts, one after another
    OccurrenceTally tally_;
};

}  // namespace talveron
