#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/finding_identity.h"

namespace talveron {

/// How a finding stands against an earlier run of its load file.
enum class BaselineState {
    New,        ///< no earlier finding of its identity was left to match it
    Unchanged,  ///< it matched an earlier finding of its identity
    Fixed,      ///< an earlier finding that no finding of this run matched
};

/// "new", "unchanged" or "fixed".
std::string_view BaselineStateName(BaselineState state);

/// How many findings stood each way.
struct BaselineCounts {
    std::int64_t fixed = 0;
    std::int64_t added = 0;  ///< new
    std::int64_t unchanged = 0;
};

/// "2 fixed, 3 new, 40 unchanged".
std::string BaselineCountsText(const BaselineCounts& counts);

/// Matches the findings of a run with those of an earlier run of the load file. The findings of
/// the run come in file order; each takes the first earlier finding of the same identity, in the
/// earlier run's file order, that no finding took before it. No I/O.
class BaselineComparison {
public:
    /// `earlier`: the digests of the earlier run's findings, in its file order.
    explicit BaselineComparison(std::span<const IdentityDigest> earlier);

    /// The state of the run's next finding: Unchanged when it took an earlier finding, else New.
    BaselineState match(IdentityDigest digest);

    /// The positions in `earlier` of the findings no finding took, in order.
    std::vector<std::size_t> fixed() const;

    /// The counts so far; the fixed ones are those not taken yet.
    BaselineCounts counts() const;

private:
    std::vector<std::pair<IdentityDigest, std::size_t>> sorted_;  // (digest, position), sorted
    std::vector<std::uint32_t> taken_;  // by the first index of a digest in sorted_: how many
    std::vector<bool> matched_;         // by position
    BaselineCounts counts_;
};

}  // namespace talveron
