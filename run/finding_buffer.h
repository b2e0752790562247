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
    /// The finding's results-file section after its number; empty when the finding is not
    /// written to the results file.
    std::string_view sectionBody;
    /// The information line's text for a finding written to the results file.
    std::string_view information;
};

/// Keeps the findings of records checked ahead of their turn, so that they reach the results file
/// later, in the order they were reported. Whatever composing a finding's section, its
/// information line and its tally costs is paid here, on the thread that checked the records;
/// only numbering the sections is left for the turn. The message is copied; every other view of
/// a finding (the line, the field's value and name) must stay valid until the finding is written.
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
    struct Kept {
        Finding finding;  // message left empty: it lives in text_
        FindingPlace place;
        std::size_t messageStart = 0;
        std::size_t sectionStart = 0;
        std::size_t informationStart = 0;
        std::size_t end = 0;
    };
    const OptionSettings* options_ = nullptr;
    std::vector<Kept> kept_;
    std::string text_;  // each finding's message, section body and information, one after another
    OccurrenceTally tally_;
};

}  // namespace talveron
