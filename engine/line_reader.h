#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace talveron {

/// The longest line a run takes, in bytes (16 MiB): a line is held whole in memory, so a file
/// that is one endless line must end the run, not exhaust the memory.
inline constexpr std::size_t kMaxLineLength = std::size_t{16} << 20;

/// Bytes read straight from the input and the whole lines framed in them. The lines are views of
/// `bytes`, valid until the block is filled again.
struct LineBlock {
    std::vector<char> bytes;
    std::vector<std::string_view> lines;
};

/// Frames a load file into lines. CR LF, a lone LF and a lone CR each end a line; the terminator
/// is not part of the line, and a terminator at the very end does not start an extra empty line.
/// Bytes are passed on unchanged; lines may be up to `maxLineLength` bytes long.
class LineReader {
public:
    explicit LineReader(std::istream& input, std::size_t chunkSize = 1 << 20,
                        std::size_t maxLineLength = kMaxLineLength);

    /// The next line, valid until the next call; false at the end of the input, on a read error
    /// or at a line longer than the maximum (then no further line is read).
    bool next(std::string_view& line);
    /// Reads about `readSize` more bytes of the input straight into the block (more when no line
    /// ends in them) and frames the whole lines there, at most `maxLines`; what follows them is
    /// read again by the next call. False, with no line, where next() would give none.
    bool fill(LineBlock& block, std::size_t readSize, std::size_t maxLines);
    /// The input failed for another reason than reaching its end.
    bool failed() const { return failed_; }
    /// The reader stopped at a line longer than the maximum.
    bool tooLong() const { return tooLong_; }
    /// The bytes taken from the input so far; after the last line, the size of what was read.
    std::uint64_t bytesRead() const { return bytesRead_; }

private:
    /// Reads up to `count` bytes to `target`; fewer only at the end of the input or on an error.
    std::size_t read(char* target, std::size_t count);

    std::istream& input_;
    std::size_t chunkSize_;
    std::size_t maxLineLength_;
    std::uint64_t bytesRead_ = 0;
    std::string carried_;  // bytes read but not framed yet: the start of the next block
    /// A read of `maxLines` lines filled only part of a block: reads are kept to about what those
    /// lines took, so that a block of short lines is not carried over chunk after chunk.
    std::size_t readLimit_ = SIZE_MAX;
    LineBlock own_;  // the lines next() hands out
    std::size_t handedOut_ = 0;
    bool skipLineFeed_ = false;  // the previous line ended with CR: a leading LF belongs to it
    bool atEnd_ = false;
    bool failed_ = false;
    bool tooLong_ = false;
};

}  // namespace talveron
