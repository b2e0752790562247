#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/finding.h"

namespace talveron {

/// One distinct message of a level with how often and where it occurred.
struct TallyEntry {
    std::string message;
    std::int64_t count = 0;
    std::int64_t firstLine = 0;
    std::int64_t lastLine = 0;

    bool operator==(const TallyEntry&) const = default;
};

/// The occurrence tally: per level, the distinct messages of a run (compared exactly).
class OccurrenceTally {
public:
    void add(Level level, std::string_view message, std::int64_t lineNumber);
    /// Adds the entries of a tally of lines that all follow the lines tallied here.
    void merge(const OccurrenceTally& later);

    /// The entries of a level in tally order: ascending by count, then last line, then first
    /// line, then message with ASCII letters folded to lower case (byte order otherwise).
    std::vector<TallyEntry> ordered(Level level) const;
    bool empty(Level level) const;

private:
    struct Counts {
        std::int64_t count = 0;
        std::int64_t firstLine = 0;
        std::int64_t lastLine = 0;
    };
    /// Eight bytes at a time, mixed by multiplication: a message is a few dozen bytes, and one is
    /// hashed for every finding counted.
    struct MessageHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view message) const;
    };
    std::unordered_map<std::string, Counts, MessageHash, std::equal_to<>> byLevel_[2];
};

}  // namespace talveron
