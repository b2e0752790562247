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
    /// The input failed for another reason than reaching its end.
    bool failed() const { return failed_; }
    /// The reader stopped at a line longer than the maximum.
    bool tooLong() const { return tooLong_; }
    /// The bytes taken from the input so far; after the last line, the size of what was read.
    std::uint64_t bytesRead() const { return bytesRead_; }

private:
    bool refill();
    /// Offset of the next CR or LF at or after `from` in the chunk (end_ when none). The next CR
    /// and the next LF are remembered, so each byte is searched once whatever the line ends.
    std::size_t nextTerminator(std::size_t from);

    std::istream& input_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    std::size_t nextCarriageReturn_ = 0;
    std::size_t nextLineFeed_ = 0;
    std::size_t maxLineLength_;
    std::uint64_t bytesRead_ = 0;
    std::string partial_;        // a line that spans chunks
    bool skipLineFeed_ = false;  // the previous line ended with CR: a leading LF belongs to it
    bool atEnd_ = false;
    bool failed_ = false;
    bool tooLong_ = false;
};

}  // namespace talveron
