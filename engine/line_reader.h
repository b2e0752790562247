#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace talveron {

/// Frames a load file into lines. CR LF, a lone LF and a lone CR each end a line; the terminator
/// is not part of the line, and a terminator at the very end does not start an extra empty line.
/// Bytes are passed on unchanged; lines may be of any length.
class LineReader {
public:
    explicit LineReader(std::istream& input, std::size_t chunkSize = 1 << 20);

    /// The next line, valid until the next call; false at the end of the input or on a read error.
    bool next(std::string_view& line);
    /// The input failed for another reason than reaching its end.
    bool failed() const { return failed_; }

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
    std::string partial_;        // a line that spans chunks
    bool skipLineFeed_ = false;  // the previous line ended with CR: a leading LF belongs to it
    bool atEnd_ = false;
    bool failed_ = false;
};

}  // namespace talveron
