#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace talveron {

/// Sixteen bytes of a line, tested together in one vector register (SSE2 on x86-64, the
/// compiler's generic vectors elsewhere).
typedef unsigned char ByteBlock __attribute__((vector_size(16)));
/// What a test of a block gives: a byte of all ones where the test holds, zero elsewhere.
typedef signed char ByteLanes __attribute__((vector_size(16)));

inline constexpr std::size_t kBlockSize = 16;

/// The sixteen bytes from `at`, all of which must be readable.
inline ByteBlock LoadBlock(const char* at) {
    ByteBlock block;
    std::memcpy(&block, at, kBlockSize);
    return block;
}

/// The bytes from `at`, read no further than `end`; bytes at or after `end` read as zero.
inline ByteBlock LoadBlock(const char* at, const char* end) {
    const auto readable = static_cast<std::size_t>(end - at);
    if (readable >= kBlockSize) return LoadBlock(at);
    ByteBlock block{};
    std::memcpy(&block, at, readable);
    return block;
}

/// Bit i set where the test holds for byte i.
inline std::uint32_t MaskOf(ByteLanes lanes) {
#if defined(__SSE2__)
    return static_cast<std::uint32_t>(_mm_movemask_epi8(std::bit_cast<__m128i>(lanes)));
#else
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < kBlockSize; ++i) mask |= (lanes[i] < 0 ? 1U : 0U) << i;
    return mask;
#endif
}

/// The bytes within [low, high].
inline ByteLanes InRange(ByteBlock block, unsigned char low, unsigned char high) {
    return static_cast<ByteBlock>(block - low) <= static_cast<unsigned char>(high - low);
}

/// A mask of the first `count` bytes of a block (count at most 16).
inline std::uint32_t FirstBytes(std::size_t count) { return (1U << count) - 1; }

}  // namespace talveron
