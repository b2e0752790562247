#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_reader.h"

namespace talveron {

/// The bytes a chunk of lines is filled to before it is handed on: large enough that handing it
/// between threads costs nothing noticeable, small enough that a few in flight stay in the cache.
inline constexpr std::size_t kDefaultChunkBytes = std::size_t{1} << 20;

/// The most lines a chunk holds whatever their length: what a line costs beyond its bytes (its
/// findings, its tallies) must not grow a chunk without bound when the lines are empty.
inline constexpr std::size_t kMaxChunkLines = 8192;

/// Consecutive lines of a load file copied out of the reader, so that they can be checked on
/// another thread while the reader goes on.
class LineChunk {
public:
    /// The number of the first line (1-based).
    std::int64_t firstLineNumber() const { return firstLineNumber_; }
    std::size_t size() const { return ends_.size(); }
    /// Line i of the chunk, without its terminator; valid until the chunk is refilled.
    std::string_view line(std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }

    /// Refills the chunk with the reader's next lines until it holds at least `targetBytes` or
    /// kMaxChunkLines lines, or the reader stops; false when the reader had no line left.
    /// `linesBefore` is the number of lines read before this chunk.
    bool fill(LineReader& reader, std::int64_t linesBefore, std::size_t targetBytes);

private:
    std::int64_t firstLineNumber_ = 1;
    std::string bytes_;
    std::vector<std::size_t> ends_;  // end of each line in bytes_
};

}  // namespace talveron
