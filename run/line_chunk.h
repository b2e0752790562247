#pragma once

#include <cstdint>
#include <string_view>

#include "engine/line_reader.h"

namespace talveron {

/// The bytes a chunk of lines is read in: large enough that handing it between threads costs
/// nothing noticeable, small enough that a few in flight stay in the cache.
inline constexpr std::size_t kDefaultChunkBytes = std::size_t{1} << 19;

/// The most lines a chunk holds whatever their length: what a line costs beyond its bytes (its
/// findings, its tallies) must not grow a chunk without bound when the lines are empty.
inline constexpr std::size_t kMaxChunkLines = 8192;

/// Consecutive lines of a load file, read by the reader straight into the chunk's own bytes, so
/// that they can be checked on another thread while the reader goes on.
class LineChunk {
public:
    /// The number of the first line (1-based).
    std::int64_t firstLineNumber() const { return firstLineNumber_; }
    std::size_t size() const { return block_.lines.size(); }
    /// Line i of the chunk, without its terminator; valid until the chunk is refilled.
    std::string_view line(std::size_t index) const { return block_.lines[index]; }

    /// Refills the chunk with the whole lines of about `targetBytes` more bytes of the reader's
    /// input, at least one line and at most kMaxChunkLines; false when the reader had no line
    /// left. `linesBefore` is the number of lines read before this chunk.
    bool fill(LineReader& reader, std::int64_t linesBefore, std::size_t targetBytes);

private:
    std::int64_t firstLineNumber_ = 1;
    LineBlock block_;
};

}  // namespace talveron
