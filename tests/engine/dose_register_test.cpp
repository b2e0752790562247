#include "engine/dose_register.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace talveron {
namespace {

PersonKey Key(std::string_view text) { return MakePersonKey("", text); }

void AddDose(DoseRegister& doses, const DoseListEntry& entry) { doses.addDoses({&entry, 1}); }

std::string Text(const PersonKey& key) { return std::string(key.data(), key.size()); }

struct KeyCase {
    const char* idType;
    const char* employeeId;
    const char* expected;  // 14 characters
};

class PersonKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(PersonKeyTest, IsTypeLetterAndIdentifierInFourteenCharacters) {
    EXPECT_EQ(Text(MakePersonKey(GetParam().idType, GetParam().employeeId)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, PersonKeyTest,
                         testing::Values(KeyCase{"SSN", "123456789", "S123456789    "},
                                         KeyCase{"P", "  AB 12  ", "PAB 12        "},
                                         KeyCase{"SSN", "", "S             "},
                                         KeyCase{"", "12345", "12345         "},
                                         KeyCase{"", "", "              "},
                                         KeyCase{"S", "1234567890123456", "S1234567890123"},
                                         KeyCase{"s", "x", "sx            "}));

// A layout without ID_Type or Employee_ID gives empty views with no data behind them; the
// sanitizer build catches a copy from such a view.
TEST(PersonKeyOfMissingFieldsTest, IsBlank) {
    EXPECT_EQ(Text(MakePersonKey(std::string_view{}, std::string_view{})), std::string(14, ' '));
    EXPECT_EQ(Text(MakePersonKey("SSN", std::string_view{})), "S             ");
}

/// The positions of every entry of each person, persons in the order of their first entry.
std::vector<std::vector<std::uint32_t>> People(const DoseRegister& doses) {
    std::vector<std::vector<std::uint32_t>> people;
    for (std::size_t person = 0; person < doses.personCount(); ++person) {
        const auto entries = doses.entriesOfPerson(person);
        people.emplace_back(entries.begin(), entries.end());
    }
    return people;
}

// Keys that share a prefix, and an empty key, are persons of their own.
TEST(DoseRegisterTest, GroupsEveryEntryOfAKeyInFileOrder) {
    DoseRegister doses;
    for (const char* id : {"A1", "B1", "A1", "A10", "A1", "A", ""}) {
        AddDose(doses, {Key(id), 0, 0, 0});
    }
    doses.buildIndex();
    EXPECT_EQ(People(doses),
              (std::vector<std::vector<std::uint32_t>>{{0, 2, 4}, {1}, {3}, {5}, {6}}));
}

TEST(DoseRegisterTest, ManyEntriesOfOneKeyAreOnePerson) {
    DoseRegister doses;
    for (int i = 0; i < 1500; ++i) AddDose(doses, {Key(i % 3 == 0 ? "OTHER" : "SAME"), i, i, 0});
    doses.buildIndex();
    const auto people = People(doses);
    ASSERT_EQ(people.size(), 2u);
    const std::vector<std::uint32_t>& same = people[1];
    ASSERT_EQ(same.size(), 1000u);
    EXPECT_TRUE(std::is_sorted(same.begin(), same.end()));
    for (const std::uint32_t position : same) EXPECT_EQ(doses.doses()[position].key, Key("SAME"));
}

/// How many entries of the key have their start or end day within [low, high], counted one by one.
int CountTouching(const DoseRegister& doses, const PersonKey& key, std::int32_t low,
                  std::int32_t high) {
    int count = 0;
    for (const DoseListEntry& entry : doses.doses()) {
        if (entry.key != key) continue;
        const bool start = entry.startDays >= low && entry.startDays <= high;
        const bool end = entry.endDays >= low && entry.endDays <= high;
        if (start || end) ++count;
    }
    return count;
}

// Group sizes on both sides of the size at which a key's days are kept sorted.
TEST(DoseRegisterTest, TouchingAgreesWithCountingForSmallAndLargeGroups) {
    std::mt19937 random(20240615);
    std::uniform_int_distribution<std::int32_t> day(-5, 40);
    for (const int size : {1, 2, 3, 15, 16, 17, 18, 40, 200}) {
        SCOPED_TRACE("group of " + std::to_string(size));
        DoseRegister doses;
        // Neighbouring keys with large groups of their own, filed before and after the target.
        for (int i = 0; i < 3 * size + 40; ++i) {
            const char* id = i % 3 == 0 ? "K" : (i % 3 == 1 ? "J" : "L");
            if (std::string(id) == "K" && i / 3 >= size) continue;
            const std::int32_t a = day(random);
            const std::int32_t b = day(random);
            AddDose(doses, {Key(id), std::max(a, b), std::min(a, b), 0});
        }
        doses.buildIndex();
        for (int query = 0; query < 300; ++query) {
            const std::int32_t a = day(random);
            const std::int32_t b = day(random);
            const std::int32_t low = std::min(a, b);
            const std::int32_t high = std::max(a, b);
            ASSERT_EQ(doses.twoOrMoreEntriesTouch(Key("K"), low, high),
                      CountTouching(doses, Key("K"), low, high) >= 2)
                << "range " << low << ".." << high;
        }
    }
}

struct TouchCase {
    const char* what;
    std::vector<std::pair<std::int32_t, std::int32_t>> periods;  // (start days, end days)
    std::int32_t low;
    std::int32_t high;
    bool expected;
};

class TouchTest : public testing::TestWithParam<TouchCase> {};

// Each case runs once as a small group and once padded with far-away entries into a large one.
TEST_P(TouchTest, CountsEntriesWithAStartOrEndDayInTheRange) {
    for (const int padding : {0, 20}) {
        SCOPED_TRACE(std::string(GetParam().what) + (padding ? ", large group" : ", small group"));
        DoseRegister doses;
        for (const auto& [start, end] : GetParam().periods)
            AddDose(doses, {Key("P1"), start, end, 0});
        for (int i = 0; i < padding; ++i) AddDose(doses, {Key("P1"), 9000 + i, 8000 + i, 0});
        doses.buildIndex();
        EXPECT_EQ(doses.twoOrMoreEntriesTouch(Key("P1"), GetParam().low, GetParam().high),
                  GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Periods, TouchTest,
    testing::Values(
        TouchCase{"the record alone", {{100, 50}}, 50, 100, false},
        TouchCase{"two overlapping periods", {{100, 50}, {70, 10}}, 50, 100, true},
        TouchCase{"bounds are included", {{100, 50}, {120, 100}}, 50, 100, true},
        TouchCase{"one day apart", {{100, 50}, {120, 101}}, 50, 100, false},
        TouchCase{"a period that strictly contains the range is not counted",
                  {{100, 50}, {200, 10}},
                  50,
                  100,
                  false},
        TouchCase{
            "an entry with both days inside counts once", {{300, 250}, {90, 60}}, 50, 100, false},
        TouchCase{"one start and another's end", {{90, 10}, {200, 60}}, 50, 100, true},
        TouchCase{"two starts", {{90, 10}, {80, 10}}, 50, 100, true},
        TouchCase{"two ends", {{190, 60}, {180, 70}}, 50, 100, true},
        TouchCase{"an empty range holds nothing", {{100, 50}, {70, 60}}, 100, 50, false},
        TouchCase{"a one-day range", {{60, 60}, {60, 10}}, 60, 60, true}));

TEST(DoseRegisterTest, AKeyWithoutEntriesTouchesNothing) {
    // The absent key "B" sorts between two keys that each have many entries.
    DoseRegister doses;
    for (int i = 0; i < 20; ++i) AddDose(doses, {Key("A"), 60, 50, 0});
    for (int i = 0; i < 20; ++i) AddDose(doses, {Key("C"), 60, 50, 0});
    doses.buildIndex();
    EXPECT_TRUE(doses.twoOrMoreEntriesTouch(Key("C"), 50, 60));
    EXPECT_FALSE(doses.twoOrMoreEntriesTouch(Key("B"), 50, 60));
    EXPECT_FALSE(doses.twoOrMoreEntriesTouch(Key("0"), 50, 60));
    EXPECT_FALSE(doses.twoOrMoreEntriesTouch(Key("D"), 50, 60));
}

TEST(DoseRegisterTest, IntakesBelongToTheLineOfTheirDoseRecord) {
    DoseRegister doses;
    doses.addIntake({0, 2, 1.0});  // before any dose record
    doses.addIntake({3, 4, 0.5});
    doses.addIntake({3, 5, 0.25});
    doses.addIntake({7, 9, 2.0});
    EXPECT_EQ(doses.intakeCount(), 4);

    const IntakeSummary three = doses.intakesOf(3);
    EXPECT_EQ(three.count, 2);
    EXPECT_DOUBLE_EQ(three.total, 0.75);
    EXPECT_EQ(doses.intakesOf(0).count, 1);
    EXPECT_EQ(doses.intakesOf(7).count, 1);
    EXPECT_DOUBLE_EQ(doses.intakesOf(7).total, 2.0);
    EXPECT_EQ(doses.intakesOf(5).count, 0);
    EXPECT_EQ(doses.intakesOf(5).total, 0.0);
    EXPECT_EQ(doses.intakesOf(100).count, 0);
}

}  // namespace
}  // namespace talveron
