#pragma once

#include <cstdint>

namespace talveron::bench {

/// A small deterministic pseudo-random stream (SplitMix64). The standard distributions differ
/// between library implementations, so the generator draws through its own range reduction and
/// a seed gives the same file on every platform.
class RandomStream {
public:
    explicit RandomStream(std::uint64_t seed) : state_(seed) {}

    /// The next 64 random bits.
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    /// A number in [0, bound); bound must be positive.
    std::uint32_t below(std::uint32_t bound) {
        return static_cast<std::uint32_t>(((next() >> 32) * bound) >> 32);
    }

    /// A number in [low, high], bounds included; low <= high.
    std::int32_t between(std::int32_t low, std::int32_t high) {
        return low + static_cast<std::int32_t>(below(static_cast<std::uint32_t>(high - low) + 1));
    }

    /// True with the chance of `share` in 10,000.
    bool chance(std::uint32_t share) { return below(10000) < share; }

private:
    std::uint64_t state_;
};

}  // namespace talveron::bench
