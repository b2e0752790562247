#include "engine/occurrence_tally.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>

namespace talveron {

namespace {

int Index(Level level) { return level == Level::Error ? 0 : 1; }

unsigned char Folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

/// Message order of the tally: ASCII letters folded, bytes compared as unsigned; messages that
/// fold alike are ordered by their raw bytes so the order is total.
bool MessageBefore(const std::string& a, const std::string& b) {
    const bool foldedLess =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                     [](char x, char y) { return Folded(x) < Folded(y); });
    if (foldedLess) return true;
    const bool foldedGreater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                     [](char x, char y) { return Folded(x) < Folded(y); });
    if (foldedGreater) return false;
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

}  // namespace

std::size_t OccurrenceTally::MessageHash::operator()(std::string_view message) const {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t hash = message.size() * kMultiplier;
    const auto mix = [&](std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    };
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= message.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, message.data() + at, sizeof word);
        mix(word);
    }
    std::uint64_t tail = 0;
    for (std::size_t shift = 0; at < message.size(); ++at, shift += 8) {
        tail |= std::uint64_t{static_cast<unsigned char>(message[at])} << shift;
    }
    mix(tail);
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

void OccurrenceTally::add(Level level, std::string_view message, std::int64_t lineNumber) {
    auto& entries = byLevel_[Index(level)];
    auto found = entries.find(message);
    if (found == entries.end()) {
        entries.emplace(std::string(message), Counts{1, lineNumber, lineNumber});
        return;
    }
    found->second.count += 1;
    found->second.lastLine = lineNumber;
}

void OccurrenceTally::merge(const OccurrenceTally& later) {
    for (int level = 0; level < 2; ++level) {
        auto& entries = byLevel_[level];
        for (const auto& [message, counts] : later.byLevel_[level]) {
            const auto [found, added] = entries.try_emplace(message, counts);
            if (added) continue;
            found->second.count += counts.count;
            found->second.lastLine = counts.lastLine;
        }
    }
}

bool OccurrenceTally::empty(Level level) const { return byLevel_[Index(level)].empty(); }

std::vector<TallyEntry> OccurrenceTally::ordered(Level level) const {
    std::vector<TallyEntry> entries;
    for (const auto& [message, counts] : byLevel_[Index(level)]) {
        entries.push_back({message, counts.count, counts.firstLine, counts.lastLine});
    }
    std::sort(entries.begin(), entries.end(), [](const TallyEntry& a, const TallyEntry& b) {
        if (std::tie(a.count, a.lastLine, a.firstLine) !=
            std::tie(b.count, b.lastLine, b.firstLine)) {
            return std::tie(a.count, a.lastLine, a.firstLine) <
                   std::tie(b.count, b.lastLine, b.firstLine);
        }
        return MessageBefore(a.message, b.message);
    });
    return entries;
}

}  // namespace talveron
