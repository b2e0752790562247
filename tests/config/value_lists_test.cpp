#include "config/value_lists.h"

#include <gtest/gtest.h>

#include <string>

namespace talveron {
namespace {

TEST(ValueListNamesTest, PairSectionsWithTheirSwitchesAndCompareNamesExactly) {
    struct Names {
        ValueList list;
        const char* section;
        OptionKey checkSwitch;
    };
    for (const Names& c : {
             Names{ValueList::IDType, "ID_Type_List", OptionKey::IDTypeList},
             Names{ValueList::RecordType, "Record_Type_List", OptionKey::RecordTypeList},
             Names{ValueList::Sex, "Sex_List", OptionKey::SexList},
             Names{ValueList::ReportType, "Report_Type_List", OptionKey::ReportTypeList},
             Names{ValueList::ExposureType, "Exposure_Type_List", OptionKey::ExposureTypeList},
             Names{ValueList::Class, "Class_List", OptionKey::ClassList},
             Names{ValueList::Mode, "Mode_List", OptionKey::ModeList},
             Names{ValueList::Radionuclide, "Radionuclide_List", OptionKey::RadionuclideList},
         }) {
        EXPECT_EQ(SectionOf(c.list), c.section);
        EXPECT_EQ(SwitchOf(c.list), c.checkSwitch) << c.section;
        EXPECT_EQ(ValueListOfSection(c.section), c.list);
    }
    for (const char* other : {"sex_List", "Sex_List ", "Nuc_List", "_List"}) {
        EXPECT_EQ(ValueListOfSection(other), std::nullopt) << other;
    }
}

TEST(ValueListsTest, ContainsKeysWithAUsableValue) {
    constexpr const char* kSexList = "[Sex_List]\nM=Male\nU=$\nX=\nQ=\"$\"\n";
    struct Lookup {
        const char* what;
        const char* text;
        ValueList list;
        const char* value;
        bool expected;
    };
    const Lookup cases[] = {
        {"exact key", kSexList, ValueList::Sex, "M", true},
        {"key letter case ignored", kSexList, ValueList::Sex, "m", true},
        {"value $ is a miss", kSexList, ValueList::Sex, "U", false},
        {"quoted $ is a miss", kSexList, ValueList::Sex, "Q", false},
        {"empty value is a miss", kSexList, ValueList::Sex, "X", false},
        {"absent key", kSexList, ValueList::Sex, "Z", false},
        {"the value is not the key", kSexList, ValueList::Sex, "Male", false},
        {"the lookup is not trimmed", kSexList, ValueList::Sex, "M ", false},
        {"lists are separate", kSexList, ValueList::Class, "M", false},
        {"first key wins over a later good one", "[Sex_List]\nM=$\nm=Male\n", ValueList::Sex, "M",
         false},
        {"first key wins over a later $", "[Sex_List]\nM=Male\nm=$\n", ValueList::Sex, "m", true},
        {"only ASCII letters fold", "[Class_List]\n\xC3\x89=1\n", ValueList::Class, "\xC3\xA9",
         false},
        {"non-ASCII keys match as written", "[Class_List]\n\xC3\x89=1\n", ValueList::Class,
         "\xC3\x89", true},
        {"radionuclides", "[Radionuclide_List]\nCo-60=1\n", ValueList::Radionuclide, "CO-60", true},
        {"empty configuration", "", ValueList::IDType, "", false},
    };
    for (const Lookup& c : cases) {
        EXPECT_EQ(ValueLists::Load(IniDocument(c.text)).contains(c.list, c.value), c.expected)
            << c.what;
    }
}

TEST(ValueListsTest, MatchesManyKeysIgnoringCase) {
    // Enough keys that a hash of the unfolded name would put most lookups in the wrong bucket.
    std::string text = "[Radionuclide_List]\n";
    for (int i = 0; i < 1000; ++i) text += "nuc-" + std::to_string(i) + "a=1\n";
    const ValueLists lists = ValueLists::Load(IniDocument(text));
    for (int i = 0; i < 1000; ++i) {
        const std::string value = "NUC-" + std::to_string(i) + "A";
        ASSERT_TRUE(lists.contains(ValueList::Radionuclide, value)) << value;
    }
    EXPECT_FALSE(lists.contains(ValueList::Radionuclide, "NUC-1000A"));
}

}  // namespace
}  // namespace talveron
