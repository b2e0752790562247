#include "engine/line_reader.h"

#include <algorithm>
#include <cstring>

namespace talveron {

LineReader::LineReader(std::istream& input, std::size_t chunkSize, std::size_t maxLineLength)
    : input_(input), buffer_(chunkSize == 0 ? 1 : chunkSize), maxLineLength_(maxLineLength) {}

bool LineReader::refill() {
    if (atEnd_) return false;
    input_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    const auto count = static_cast<std::size_t>(input_.gcount());
    bytesRead_ += count;
    if (input_.bad()) failed_ = true;
    if (count < buffer_.size()) atEnd_ = true;
    position_ = 0;
    end_ = count;
    nextCarriageReturn_ = 0;
    nextLineFeed_ = 0;
    return count > 0;
}

std::size_t LineReader::nextTerminator(std::size_t from) {
    const auto search = [&](char wanted, std::size_t& next) {
        if (next >= from && next != 0) return;
        const void* found = std::memchr(buffer_.data() + from, wanted, end_ - from);
        next = found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data())
                     : end_;
    };
    search('\r', nextCarriageReturn_);
    search('\n', nextLineFeed_);
    return std::min(nextCarriageReturn_, nextLineFeed_);
}

bool LineReader::next(std::string_view& line) {
    if (tooLong_) return false;
    partial_.clear();
    bool sawBytes = false;
    for (;;) {
        if (position_ == end_ && !refill()) {
            if (!sawBytes || failed_) return false;
            line = partial_;
            return true;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (buffer_[position_] == '\n') {
                ++position_;
                continue;
            }
        }
        const char* begin = buffer_.data() + position_;
        const char* stop = buffer_.data() + end_;
        const char* cursor = buffer_.data() + nextTerminator(position_);
        if (partial_.size() + static_cast<std::size_t>(cursor - begin) > maxLineLength_) {
            tooLong_ = true;
            return false;
        }
        if (cursor == stop) {
            partial_.append(begin, cursor);
            position_ = end_;
            sawBytes = true;
            continue;
        }
        skipLineFeed_ = *cursor == '\r';
        position_ = static_cast<std::size_t>(cursor - buffer_.data()) + 1;
        if (partial_.empty()) {
            line = std::string_view(begin, static_cast<std::size_t>(cursor - begin));
        } else {
            partial_.append(begin, cursor);
            line = partial_;
        }
        return true;
    }
}

}  // namespace talveron
