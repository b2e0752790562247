#include "ui/results_index.h"

#include <string>
#include <string_view>

#include "config/ini_document.h"
#include "ui/finding_reader.h"
#include "ui/results_sections.h"
#include "ui/section_reader.h"

namespace talveron {

namespace {

// A section name that runs on for longer than this is no finding number and no "ERROR".
constexpr std::size_t kMaxNameScan = 4096;

/// Walks the section header lines of a stream in file order, one chunk in memory at a time.
class HeaderScanner {
public:
    HeaderScanner(std::istream& input, std::size_t chunkSize, const IndexProgress& progress)
        : input_(input), chunkSize_(std::max<std::size_t>(chunkSize, 1)), progress_(progress) {}

    /// The next header line: the offset of its "[" and its name (empty when it runs on past
    /// kMaxNameScan). False at the end, on a read error, or when the progress said stop.
    bool next(std::uint64_t& offset, std::string& name) {
        for (;;) {
            const std::string_view text(buffer_);
            const std::size_t bracket = FindSectionBracket(text, position_, blankBefore_);
            if (bracket == std::string_view::npos) {
                if (atEnd_) return false;
                blankBefore_ = EndsInBlankLineStart(text, blankBefore_);
                if (!refill(text.size())) return false;
                continue;
            }
            const std::string_view rest = text.substr(bracket);
            const std::optional<std::string_view> found =
                SectionName(rest.substr(0, kMaxNameScan), atEnd_ && rest.size() <= kMaxNameScan);
            if (!found && !atEnd_ && rest.size() < kMaxNameScan) {
                // The name goes on in the next chunk: read on from this header's "[".
                blankBefore_ = true;
                if (!refill(bracket)) return false;
                continue;
            }
            offset = base_ + bracket;
            name = found ? std::string(*found) : std::string();
            position_ = bracket + 1;
            return true;
        }
    }

    bool stopped() const { return stopped_; }

private:
    // Drops the buffer up to `keepFrom` and reads the next chunk after what is kept.
    bool refill(std::size_t keepFrom) {
        buffer_.erase(0, keepFrom);
        base_ += keepFrom;
        position_ = 0;
        const std::size_t kept = buffer_.size();
        buffer_.resize(kept + chunkSize_);
        input_.read(buffer_.data() + kept, static_cast<std::streamsize>(chunkSize_));
        buffer_.resize(kept + static_cast<std::size_t>(input_.gcount()));
        atEnd_ = buffer_.size() < kept + chunkSize_;
        if (progress_ && !progress_(base_ + buffer_.size())) stopped_ = true;
        return !stopped_;
    }

    std::istream& input_;
    std::size_t chunkSize_;
    const IndexProgress& progress_;
    std::string buffer_;
    std::uint64_t base_ = 0;  // the file offset of buffer_[0]
    std::size_t position_ = 0;
    bool blankBefore_ = true;  // the file starts a line
    bool atEnd_ = false;
    bool stopped_ = false;
};

}  // namespace

void ResultsIndex::add(std::int64_t number, std::uint64_t offset) {
    highest_ = std::max(highest_, number);
    const auto inRowCount = static_cast<std::int64_t>(distances_.size());
    if (number >= 1 && number <= inRowCount) return;  // a later section of the same number
    if (number != inRowCount + 1) {
        aside_.try_emplace(number, offset);
        return;
    }
    append(offset);
    // Numbers met before their turn join the row once it reaches them.
    while (!aside_.empty()) {
        const auto next = aside_.find(static_cast<std::int64_t>(distances_.size()) + 1);
        if (next == aside_.end()) break;
        append(next->second);
        aside_.erase(next);
    }
}

std::optional<std::uint64_t> ResultsIndex::offsetOf(std::int64_t number) const {
    if (number >= 1 && number <= static_cast<std::int64_t>(distances_.size())) {
        return inRow(static_cast<std::size_t>(number - 1));
    }
    const auto found = aside_.find(number);
    if (found == aside_.end()) return std::nullopt;
    return found->second;
}

void ResultsIndex::append(std::uint64_t offset) {
    const std::size_t index = distances_.size();
    if (index % kBlock == 0) bases_.push_back(offset);
    const std::uint64_t base = bases_.back();
    if (offset >= base && offset - base < kFar) {
        distances_.push_back(static_cast<std::uint32_t>(offset - base));
    } else {
        distances_.push_back(kFar);
        far_.emplace(index, offset);
    }
}

std::uint64_t ResultsIndex::inRow(std::size_t index) const {
    const std::uint32_t distance = distances_[index];
    return distance == kFar ? far_.at(index) : bases_[index / kBlock] + distance;
}

std::optional<ResultsIndex> IndexResultsFile(std::istream& input, const IndexProgress& progress,
                                             std::size_t chunkSize) {
    ResultsIndex index;
    std::optional<std::uint64_t> trailer;
    HeaderScanner scanner(input, chunkSize, progress);
    std::uint64_t offset = 0;
    std::string name;
    while (scanner.next(offset, name)) {
        if (const std::optional<std::int64_t> number = FindingNumberOf(name)) {
            index.add(*number, offset);
        } else if (!trailer && FoldCase(name) == "error") {
            trailer = offset;
        }
    }
    if (scanner.stopped()) return std::nullopt;
    if (trailer) {
        SectionReader reader(input);
        index.setWrittenCount(ReadFindingCount(IniDocument(std::string(reader.section(*trailer)))));
    }
    return index;
}

}  // namespace talveron
