#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace talveron {

/// The most of one section a reader delivers: two records of the longest line a run takes, and
/// room for the keys around them.
inline constexpr std::size_t kMaxSectionBytes = std::size_t{40} << 20;

/// Reads sections of a results file by the offsets of their "[", through a window of the file
/// held in memory, so that stepping to a neighbouring section reads nothing more. The window is
/// at most kMaxSectionBytes, whatever the file's size.
class SectionReader {
public:
    /// Reads `input`, which must be seekable; `windowSize` is what one read takes at least.
    explicit SectionReader(std::istream& input, std::size_t windowSize = std::size_t{256} << 10);

    /// The text of the section whose "[" is at `offset`, up to the next section header line or
    /// the end of the file, at most kMaxSectionBytes; empty when nothing can be read there.
    /// Valid until the next call.
    std::string_view section(std::uint64_t offset);

private:
    void load(std::uint64_t offset, std::size_t size);

    std::istream& input_;
    std::size_t windowSize_;
    std::string window_;
    std::uint64_t base_ = 0;   // the file offset of window_[0]
    bool windowAtEnd_ = true;  // window_ reaches the end of the file
};

}  // namespace talveron
