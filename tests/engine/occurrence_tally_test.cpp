#include "engine/occurrence_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talveron {
namespace {

using Entries = std::vector<TallyEntry>;

TEST(OccurrenceTallyTest, EachExactMessageOfALevelIsOneEntryWithFirstAndLastLine) {
    OccurrenceTally tally;
    tally.add(Level::Error, "Bad day", 7);
    tally.add(Level::Error, "Bad day", 19);
    tally.add(Level::Error, "Bad day", 3'000'000'000);  // beyond 32 bits
    tally.add(Level::Error, "bad day", 1);
    tally.add(Level::Error, "Bad day ", 1);
    tally.add(Level::Warning, "Bad day", 9);
    EXPECT_EQ(
        tally.ordered(Level::Error),
        (Entries{{"bad day", 1, 1, 1}, {"Bad day ", 1, 1, 1}, {"Bad day", 3, 7, 3'000'000'000}}));
    EXPECT_EQ(tally.ordered(Level::Warning), (Entries{{"Bad day", 1, 9, 9}}));
}

TEST(OccurrenceTallyTest, OrderIsCountThenLastLineThenFirstLine) {
    OccurrenceTally tally;
    // "a": count 2, first 1, last 50.  "b": count 1, last 60.  "c": count 1, last 40.
    // "d": count 2, first 5, last 50.  "e": count 3.
    for (const auto& [message, line] :
         std::vector<std::pair<const char*, std::int64_t>>{{"e", 1},
                                                           {"a", 1},
                                                           {"d", 5},
                                                           {"b", 60},
                                                           {"e", 2},
                                                           {"c", 40},
                                                           {"a", 50},
                                                           {"d", 50},
                                                           {"e", 3}}) {
        tally.add(Level::Error, message, line);
    }
    EXPECT_EQ(
        tally.ordered(Level::Error),
        (Entries{
            {"c", 1, 40, 40}, {"b", 1, 60, 60}, {"a", 2, 1, 50}, {"d", 2, 5, 50}, {"e", 3, 1, 3}}));
}

TEST(OccurrenceTallyTest, TiesAreOrderedByMessageIgnoringLetterCase) {
    OccurrenceTally tally;
    // Byte order would put "B" and "Z" before "a"; folded to lower case, "_" (0x5F) comes
    // before every letter.
    for (const char* message : {"Zeta", "a", "B", "_x"}) tally.add(Level::Warning, message, 8);
    std::vector<std::string> messages;
    for (const TallyEntry& entry : tally.ordered(Level::Warning)) messages.push_back(entry.message);
    EXPECT_EQ(messages, (std::vector<std::string>{"_x", "a", "B", "Zeta"}));
}

TEST(OccurrenceTallyTest, TalliesOfConsecutiveLinesMergeIntoTheTallyOfAllOfThem) {
    const std::vector<std::pair<const char*, std::int64_t>> findings{{"a", 1}, {"b", 2}, {"a", 3},
                                                                     {"c", 4}, {"b", 5}, {"a", 6}};
    OccurrenceTally whole;
    for (const auto& [message, line] : findings) whole.add(Level::Error, message, line);
    // Split after every finding: each part is tallied apart and merged in line order.
    for (std::size_t split = 0; split <= findings.size(); ++split) {
        OccurrenceTally merged;
        OccurrenceTally later;
        for (std::size_t i = 0; i < findings.size(); ++i) {
            (i < split ? merged : later).add(Level::Error, findings[i].first, findings[i].second);
        }
        later.add(Level::Warning, "w", 9);
        merged.merge(later);
        EXPECT_EQ(merged.ordered(Level::Error), whole.ordered(Level::Error)) << split;
        EXPECT_EQ(merged.ordered(Level::Warning), (Entries{{"w", 1, 9, 9}})) << split;
    }
}

}  // namespace
}  // namespace talveron
