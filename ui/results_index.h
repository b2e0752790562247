#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace talveron {

/// Where the section of each finding starts in a results file, and how many findings it holds.
/// Findings 1, 2, 3, ... in a row take about 4 bytes each (a 64-bit base per block of 256 and a
/// 32-bit distance from it); numbers out of that row are kept aside.
class ResultsIndex {
public:
    /// Records the section of finding `number` at `offset` (its "["). As the profile rules read
    /// a file, the first section of a number is the one that counts.
    void add(std::int64_t number, std::uint64_t offset);
    /// The offset of finding `number`'s section; nullopt when the file has none.
    std::optional<std::uint64_t> offsetOf(std::int64_t number) const;

    /// Takes the Count of the trailer.
    void setWrittenCount(std::int64_t count) { writtenCount_ = count; }
    /// The number of findings: the highest finding number of a section, or the trailer's Count
    /// when that is higher. The sections decide, so that every finding can be reached even when
    /// the Count falls short of them.
    std::int64_t total() const { return std::max(highest_, writtenCount_); }

private:
    void append(std::uint64_t offset);
    std::uint64_t inRow(std::size_t index) const;

    static constexpr std::size_t kBlock = 256;
    static constexpr std::uint32_t kFar = 0xFFFFFFFF;  // the distance is kept in far_

    std::vector<std::uint64_t> bases_;      // the offset of each block's first finding
    std::vector<std::uint32_t> distances_;  // findings 1..n: offset less their block's base
    std::unordered_map<std::size_t, std::uint64_t> far_;  // in-row offsets beyond 32 bits
    std::map<std::int64_t, std::uint64_t> aside_;         // numbers out of the row
    std::int64_t highest_ = 0;
    std::int64_t writtenCount_ = 0;
};

/// Called after each chunk read while a file is indexed, with the offset reached; false ends
/// the indexing.
using IndexProgress = std::function<bool(std::uint64_t offset)>;

/// Indexes the results file read from `input` (from its start, in chunks of `chunkSize`): every
/// section whose name is a finding number, and the Count of the first section "ERROR". Memory
/// stays within one chunk and the index, whatever the file's size. nullopt when `progress`
/// ended it.
std::optional<ResultsIndex> IndexResultsFile(std::istream& input, const IndexProgress& progress,
                                             std::size_t chunkSize = std::size_t{1} << 20);

}  // namespace talveron
