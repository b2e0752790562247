#include "engine/line_reader.h"

#include <algorithm>
#include <bit>

#include "engine/byte_block.h"

namespace talveron {

namespace {

/// The lines next() frames at a time.
constexpr std::size_t kLinesAtATime = 4096;

/// The smallest read the limit of a dense block allows.
constexpr std::size_t kSmallestLimitedRead = 4096;

/// The bytes of a block that end a line: CR or LF.
ByteLanes LineEnds(const char* at) {
    const ByteBlock block = LoadBlock(at);
    return (block == '\r') | (block == '\n');
}

/// The offset of the first CR or LF in [from, end) of `bytes`, or `end` when there is none; a
/// block of bytes past `end` must be readable.
std::size_t NextTerminator(const char* bytes, std::size_t from, std::size_t end) {
    std::size_t at = from;
    // Four blocks at a time past the bytes of a line; the block with its end is found below.
    constexpr std::size_t kStride = 4 * kBlockSize;
    while (end - at >= kStride) {
        const char* const here = bytes + at;
        if (MaskOf(LineEnds(here) | LineEnds(here + kBlockSize) | LineEnds(here + 2 * kBlockSize) |
                   LineEnds(here + 3 * kBlockSize)) != 0) {
            break;
        }
        at += kStride;
    }
    for (; at < end; at += kBlockSize) {
        std::uint32_t found = MaskOf(LineEnds(bytes + at));
        if (end - at < kBlockSize) found &= FirstBytes(end - at);
        if (found != 0) return at + static_cast<std::size_t>(std::countr_zero(found));
    }
    return end;
}

}  // namespace

LineReader::LineReader(std::istream& input, std::size_t chunkSize, std::size_t maxLineLength)
    : input_(input),
      chunkSize_(std::max<std::size_t>(chunkSize, 1)),
      maxLineLength_(maxLineLength) {}

std::size_t LineReader::read(char* target, std::size_t count) {
    if (atEnd_ || count == 0) return 0;
    input_.read(target, static_cast<std::streamsize>(count));
    const auto got = static_cast<std::size_t>(input_.gcount());
    bytesRead_ += got;
    if (input_.bad()) failed_ = true;
    if (got < count) atEnd_ = true;
    return got;
}

bool LineReader::fill(LineBlock& block, std::size_t readSize, std::size_t maxLines) {
    block.lines.clear();
    if (tooLong_) return false;
    readSize = std::max<std::size_t>(readSize, 1);
    maxLines = std::max<std::size_t>(maxLines, 1);
    std::vector<char>& bytes = block.bytes;
    const std::size_t carried = carried_.size();
    const std::size_t target = std::max(carried, std::min(readSize, readLimit_));
    if (bytes.size() < target + kBlockSize) bytes.resize(target + kBlockSize);
    std::copy(carried_.begin(), carried_.end(), bytes.begin());
    carried_.clear();
    std::size_t used = carried + read(bytes.data() + carried, target - carried);
    std::size_t lineStart = 0;
    std::size_t scanFrom = 0;  // no terminator lies in [lineStart, scanFrom)
    for (;;) {
        if (skipLineFeed_ && lineStart < used) {
            skipLineFeed_ = false;
            if (bytes[lineStart] == '\n') scanFrom = ++lineStart;
        }
        if (block.lines.size() == maxLines) break;
        const std::size_t end = NextTerminator(bytes.data(), std::max(lineStart, scanFrom), used);
        if (end - lineStart > maxLineLength_) {
            tooLong_ = true;
            break;
        }
        if (end < used) {
            block.lines.emplace_back(bytes.data() + lineStart, end - lineStart);
            skipLineFeed_ = bytes[end] == '\r';
            lineStart = scanFrom = end + 1;
            continue;
        }
        if (atEnd_) {
            // A last line without a terminator; one cut short by a read error is no line.
            if (lineStart < used && !failed_) {
                block.lines.emplace_back(bytes.data() + lineStart, used - lineStart);
            }
            lineStart = used;
            break;
        }
        if (!block.lines.empty()) break;
        // Not one line ends in the block yet: read on into a block twice the size, but no more
        // than tells a line over the limit.
        scanFrom = used;
        const std::size_t twice = std::max(used, readSize);
        const std::size_t allowed = maxLineLength_ - (used - lineStart);
        const std::size_t more = twice <= allowed ? twice : allowed + 1;
        bytes.resize(used + more + kBlockSize);
        used += read(bytes.data() + used, more);
    }
    if (block.lines.size() == maxLines && lineStart < used) {
        readLimit_ = std::max(lineStart, kSmallestLimitedRead);
    } else if (readLimit_ != SIZE_MAX) {
        readLimit_ = readLimit_ > SIZE_MAX / 2 ? SIZE_MAX : readLimit_ * 2;
    }
    if (!tooLong_) carried_.assign(bytes.data() + lineStart, bytes.data() + used);
    return !block.lines.empty();
}

bool LineReader::next(std::string_view& line) {
    if (handedOut_ == own_.lines.size()) {
        handedOut_ = 0;
        if (!fill(own_, chunkSize_, kLinesAtATime)) return false;
    }
    line = own_.lines[handedOut_++];
    return true;
}

}  // namespace talveron
