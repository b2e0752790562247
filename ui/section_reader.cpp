#include "ui/section_reader.h"

#include <algorithm>

#include "ui/results_sections.h"

namespace talveron {

SectionReader::SectionReader(std::istream& input, std::size_t windowSize)
    : input_(input), windowSize_(std::max<std::size_t>(windowSize, 1)) {}

std::string_view SectionReader::section(std::uint64_t offset) {
    if (offset < base_ || offset >= base_ + window_.size()) load(offset, windowSize_);
    for (;;) {
        const std::string_view text(window_);
        const std::size_t start = static_cast<std::size_t>(offset - base_);
        if (start >= text.size()) return {};
        // The section's own "[" is never blank, so the search never looks before the window.
        const std::size_t end = FindSectionBracket(text, start + 1, false);
        if (end != std::string_view::npos) return text.substr(start, end - start);
        const std::size_t length = text.size() - start;
        if (windowAtEnd_ || length >= kMaxSectionBytes) {
            return text.substr(start, std::min(length, kMaxSectionBytes));
        }
        load(offset, std::min(std::max(windowSize_, 2 * length), kMaxSectionBytes));
    }
}

void SectionReader::load(std::uint64_t offset, std::size_t size) {
    base_ = offset;
    window_.clear();
    windowAtEnd_ = true;
    input_.clear();
    input_.seekg(static_cast<std::streamoff>(offset));
    if (!input_) return;
    window_.resize(size);
    input_.read(window_.data(), static_cast<std::streamsize>(size));
    window_.resize(static_cast<std::size_t>(input_.gcount()));
    windowAtEnd_ = window_.size() < size;
}

}  // namespace talveron
