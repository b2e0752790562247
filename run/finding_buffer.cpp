#include "run/finding_buffer.h"

namespace talveron {

void FindingBuffer::writeFinding(const Finding& finding, const FindingPlace& place) {
    Stored& stored =
        stored_.emplace_back(Stored{finding, place, messages_.size(), finding.message.size()});
    stored.finding.message = {};
    messages_.append(finding.message);
}

void FindingBuffer::clear() {
    stored_.clear();
    messages_.clear();
}

void FindingBuffer::replay(std::size_t first, std::size_t last, FindingSink& sink) const {
    for (std::size_t index = first; index < last; ++index) {
        const Stored& stored = stored_[index];
        Finding finding = stored.finding;
        finding.message =
            std::string_view(messages_).substr(stored.messageStart, stored.messageLength);
        sink.writeFinding(finding, stored.place);
    }
}

}  // namespace talveron
