#pragma once

#include <bit>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>

#include "config/option_settings.h"
#include "engine/finding.h"

namespace talveron {

/// A check as the operator knows it: the check code that switches it, the level of its finding
/// and its fixed message (for checks whose message is composed, the fixed part or empty).
struct Rule {
    OptionKey code;
    Level level;
    std::string_view message;
};

/// The rules of a constant table whose `applies` holds for `args`, as bits in table order (bit i
/// for kRules[i]). Each predicate is called with the table and its index known when compiling,
/// so it is inlined rather than called through its pointer, and all are judged without a branch
/// per rule; whether a rule's code is on is then asked of the few that apply.
template <const auto& kRules, class... Args>
std::uint32_t RulesThatApply(const Args&... args) {
    static_assert(std::size(kRules) <= 32, "a rule is a bit of 32");
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return ((std::uint32_t{kRules[I].applies(args...)} << I) | ...);
    }
    (std::make_index_sequence<std::size(kRules)>{});
}

/// Calls `f` with the index of each set bit, lowest first.
template <class F>
void ForEachBit(std::uint32_t bits, F f) {
    for (; bits != 0; bits &= bits - 1) f(static_cast<std::size_t>(std::countr_zero(bits)));
}

}  // namespace talveron
