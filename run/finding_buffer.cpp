#include "run/finding_buffer.h"

#include "engine/run_counters.h"
#include "run/finding_writer.h"
#include "run/results_file.h"

namespace talveron {

void FindingBuffer::writeFinding(const Finding& finding, const FindingPlace& place) {
    Kept& kept = kept_.emplace_back(Kept{finding, place, text_.size()});
    kept.finding.message = {};
    text_.append(finding.message);
    kept.sectionStart = text_.size();
    if (WrittenToResults(*options_, finding)) {
        AppendFindingSectionBody(text_, finding);
        kept.informationStart = text_.size();
        text_.append(finding.message).append(" Line:").append(FormatGrouped(finding.lineNumber));
    } else {
        kept.informationStart = text_.size();
    }
    kept.end = text_.size();
    if (options_->on(OptionKey::IOS))
        tally_.add(finding.level, finding.message, finding.lineNumber);
}

void FindingBuffer::clear(const OptionSettings& options) {
    options_ = &options;
    kept_.clear();
    text_.clear();
    tally_ = {};
}

BufferedFinding FindingBuffer::at(std::size_t index) const {
    const Kept& kept = kept_[index];
    const std::string_view text(text_);
    BufferedFinding result{
        kept.finding, kept.place,
        text.substr(kept.sectionStart, kept.informationStart - kept.sectionStart),
        text.substr(kept.informationStart, kept.end - kept.informationStart)};
    result.finding.message = text.substr(kept.messageStart, kept.sectionStart - kept.messageStart);
    return result;
}

}  // namespace talveron
