#include "run/finding_buffer.h"

#include "engine/run_counters.h"
#include "run/finding_writer.h"
#include "run/results_file.h"

namespace talveron {

void FindingBuffer::writeFinding(const Finding& finding, const FindingPlace& place) {
    Kept& kept = kept_.emplace_back(Kept{finding, place});
    kept.finding.message = {};
    kept.messageLength = finding.message.size();
    kept.headStart = text_.size();
    if (WrittenToResults(*options_, finding)) {
        kept.messageStart = AppendFindingSectionHead(text_, finding);
        kept.tailStart = text_.size();
        AppendFindingSectionTail(text_, finding);
        kept.suffixStart = text_.size();
        text_.append(" Line:").append(FormatGrouped(finding.lineNumber));
    } else {
        kept.messageStart = text_.size();
        text_.append(finding.message);
        kept.tailStart = kept.suffixStart = kept.headStart = text_.size();
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
    const auto part = [&](std::size_t from, std::size_t to) {
        return text.substr(from, to - from);
    };
    BufferedFinding result{kept.finding, kept.place, part(kept.headStart, kept.tailStart),
                           part(kept.tailStart, kept.suffixStart),
                           part(kept.suffixStart, kept.end)};
    result.finding.message = text.substr(kept.messageStart, kept.messageLength);
    return result;
}

}  // namespace talveron
