#include "report/baseline_comparison.h"

#include <algorithm>

namespace talveron {

std::string_view BaselineStateName(BaselineState state) {
    switch (state) {
        case BaselineState::New:
            return "new";
        case BaselineState::Unchanged:
            return "unchanged";
        case BaselineState::Fixed:
            break;
    }
    return "fixed";
}

std::string BaselineCountsText(const BaselineCounts& counts) {
    return std::to_string(counts.fixed) + " fixed, " + std::to_string(counts.added) + " new, " +
           std::to_string(counts.unchanged) + " unchanged";
}

BaselineComparison::BaselineComparison(std::span<const IdentityDigest> earlier)
    : taken_(earlier.size(), 0), matched_(earlier.size(), false) {
    sorted_.reserve(earlier.size());
    for (std::size_t position = 0; position < earlier.size(); ++position)
        sorted_.emplace_back(earlier[position], position);
    std::sort(sorted_.begin(), sorted_.end());
    counts_.fixed = static_cast<std::int64_t>(earlier.size());
}

BaselineState BaselineComparison::match(IdentityDigest digest) {
    const auto first = std::lower_bound(sorted_.begin(), sorted_.end(),
                                        std::pair<IdentityDigest, std::size_t>(digest, 0));
    const auto index = static_cast<std::size_t>(first - sorted_.begin());
    if (first == sorted_.end() || first->first != digest) {
        ++counts_.added;
        return BaselineState::New;
    }
    const std::size_t next = index + taken_[index];
    if (next == sorted_.size() || sorted_[next].first != digest) {
        ++counts_.added;
        return BaselineState::New;
    }
    ++taken_[index];
    matched_[sorted_[next].second] = true;
    ++counts_.unchanged;
    --counts_.fixed;
    return BaselineState::Unchanged;
}

std::vector<std::size_t> BaselineComparison::fixed() const {
    std::vector<std::size_t> positions;
    for (std::size_t position = 0; position < matched_.size(); ++position) {
        if (!matched_[position]) positions.push_back(position);
    }
    return positions;
}

BaselineCounts BaselineComparison::counts() const { return counts_; }

}  // namespace talveron
