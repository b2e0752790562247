#include "config/value_lists.h"

#include <gtest/gtest.h>

#include <string>

namespace talveron {
namespace {

struct ListCase {
    ValueList list;
    const char* section;
    OptionKey checkSwitch;
};

class ValueListNamesTest : public testing::TestWithParam<ListCase> {};

TEST_P(ValueListNamesTest, PairSectionsWithTheirSwitches) {
    const ListCase& c = GetParam();
    EXPECT_EQ(SectionOf(c.list), c.section);
    EXPECT_EQ(SwitchOf(c.list), c.checkSwitch);
    EXPECT_EQ(ValueListOfSection(c.section), c.list);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueListNamesTest,
    testing::Values(
        ListCase{ValueList::IDType, "ID_Type_List", OptionKey::IDTypeList},
        ListCase{ValueList::RecordType, "Record_Type_List", OptionKey::RecordTypeList},
        ListCase{ValueList::Sex, "Sex_List", OptionKey::SexList},
        ListCase{ValueList::ReportType, "Report_Type_List", OptionKey::ReportTypeList},
        ListCase{ValueList::ExposureType, "Exposure_Type_List", OptionKey::ExposureTypeList},
        ListCase{ValueList::Class, "Class_List", OptionKey::ClassList},
        ListCase{ValueList::Mode, "Mode_List", OptionKey::ModeList},
        ListCase{ValueList::Radionuclide, "Radionuclide_List", OptionKey::RadionuclideList}));

TEST(ValueListOfSectionTest, ComparesTheComposedNameExactly) {
    EXPECT_EQ(ValueListOfSection("sex_List"), std::nullopt);
    EXPECT_EQ(ValueListOfSection("SEX_LIST"), std::nullopt);
    EXPECT_EQ(ValueListOfSection("Sex_List "), std::nullopt);
    EXPECT_EQ(ValueListOfSection("Nuc_List"), std::nullopt);
    EXPECT_EQ(ValueListOfSection("_List"), std::nullopt);
}

struct ContainsCase {
    const char* what;
    const char* text;
    ValueList list;
    const char* value;
    bool expected;
};

class ValueListsContainsTest : public testing::TestWithParam<ContainsCase> {};

TEST_P(ValueListsContainsTest, FindsKeysWithAUsableValue) {
    const ContainsCase& c = GetParam();
    EXPECT_EQ(ValueLists::Load(IniDocument(c.text)).contains(c.list, c.value), c.expected)
        << c.what;
}

constexpr const char* kSexList = "[Sex_List]\nM=Male\n F \t= Female \nU=$\nX=\nQ=\"$\"\nT=True\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueListsContainsTest,
    testing::Values(
        ContainsCase{"exact key", kSexList, ValueList::Sex, "M", true},
        ContainsCase{"key letter case ignored", kSexList, ValueList::Sex, "m", true},
        ContainsCase{"blanks around the key dropped", kSexList, ValueList::Sex, "F", true},
        ContainsCase{"value $ is a miss", kSexList, ValueList::Sex, "U", false},
        ContainsCase{"quoted $ is a miss", kSexList, ValueList::Sex, "Q", false},
        ContainsCase{"empty value is a miss", kSexList, ValueList::Sex, "X", false},
        ContainsCase{"True counts as a value", kSexList, ValueList::Sex, "T", true},
        ContainsCase{"absent key", kSexList, ValueList::Sex, "Z", false},
        ContainsCase{"the value is not the key", kSexList, ValueList::Sex, "Male", false},
        ContainsCase{"the lookup is not trimmed", kSexList, ValueList::Sex, "M ", false},
        ContainsCase{"lists are separate", kSexList, ValueList::Class, "M", false},
        ContainsCase{"lower-case section still matches", "[sex_list]\nm=x\n", ValueList::Sex, "M",
                     true},
        ContainsCase{"first key wins over a later good one", "[Sex_List]\nM=$\nm=Male\n",
                     ValueList::Sex, "M", false},
        ContainsCase{"first key wins over a later $", "[Sex_List]\nM=Male\nm=$\n", ValueList::Sex,
                     "m", true},
        ContainsCase{"first section wins", "[Sex_List]\nM=1\n[SEX_LIST]\nF=1\n", ValueList::Sex,
                     "F", false},
        ContainsCase{"only ASCII letters fold", "[Class_List]\n\xC3\x89=1\n", ValueList::Class,
                     "\xC3\xA9", false},
        ContainsCase{"non-ASCII keys match as written", "[Class_List]\n\xC3\x89=1\n",
                     ValueList::Class, "\xC3\x89", true},
        ContainsCase{"missing section", "[Mode_List]\nH=1\n", ValueList::Sex, "H", false},
        ContainsCase{"radionuclides", "[Radionuclide_List]\nCo-60=1\n", ValueList::Radionuclide,
                     "CO-60", true}));

TEST(ValueListsTest, MatchesManyKeysIgnoringCase) {
    std::string text = "[Radionuclide_List]\n";
    for (int i = 0; i < 1000; ++i) text += "nuc-" + std::to_string(i) + "a=1\n";
    const ValueLists lists = ValueLists::Load(IniDocument(text));
    for (int i = 0; i < 1000; ++i) {
        const std::string value = "NUC-" + std::to_string(i) + "A";
        ASSERT_TRUE(lists.contains(ValueList::Radionuclide, value)) << value;
    }
    EXPECT_FALSE(lists.contains(ValueList::Radionuclide, "NUC-1000A"));
}

TEST(ValueListsTest, AnEmptyConfigurationHasEmptyLists) {
    const ValueLists lists = ValueLists::Load(IniDocument());
    EXPECT_FALSE(lists.contains(ValueList::IDType, ""));
    EXPECT_FALSE(lists.contains(ValueList::Sex, "M"));
}

}  // namespace
}  // namespace talveron
