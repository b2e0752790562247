#include "config/record_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talveron {
namespace {

// One field in each of the other record types, so that only [D] varies between tests.
constexpr const char* kOtherLayouts = "[H]\n1=License\n[C]\n1=Comment\n[I]\n1=Intake\n";

RecordLayout DoseLayout(const std::string& doseSections) {
    return LoadRecordLayouts(IniDocument(kOtherLayouts + doseSections)).of(RecordType::Dose);
}

std::vector<std::string> NamesOf(const RecordLayout& layout) {
    std::vector<std::string> names;
    for (const FieldDef& field : layout.fields) names.push_back(field.trimmedName);
    return names;
}

using Names = std::vector<std::string>;

struct EndCase {
    const char* what;
    const char* doseSection;
    Names expected;
};

class LayoutEndTest : public testing::TestWithParam<EndCase> {};

TEST_P(LayoutEndTest, ReadsFieldsUpToTheFirstMissingOrXName) {
    EXPECT_EQ(NamesOf(DoseLayout(GetParam().doseSection)), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutEndTest,
    testing::Values(
        EndCase{"a gap ends the layout", "[D]\n1=A\n2=B\n4=C\n", Names{"A", "B"}},
        EndCase{"an empty value ends it", "[D]\n1=A\n2=B\n3=\n4=C\n", Names{"A", "B"}},
        EndCase{"a field named X ends it", "[D]\n1=A\n2=X\n3=C\n", Names{"A"}},
        EndCase{"a quoted X ends it", "[D]\n1=A\n2='X'\n3=C\n", Names{"A"}},
        EndCase{"a lower-case x is a field", "[D]\n1=A\n2=x\n3=C\n", Names{"A", "x", "C"}},
        EndCase{"no key 1", "[D]\n2=A\n", Names{}},
        EndCase{"ordinals are plain decimal", "[D]\n01=A\n", Names{}},
        EndCase{"key order in the file does not matter", "[d]\n2=B\n 1 =A\n", Names{"A", "B"}},
        EndCase{"True is held as -1", "[D]\n1=True\n2=False\n", Names{"-1", "0"}},
        EndCase{"no section", "", Names{}}));

TEST(RecordLayoutTest, StartsFollowTheWidthsWithOneSeparator) {
    const RecordLayout layout =
        DoseLayout("[D]\n1=A\n2=B\n3=F\n4=G\n[A]\nLen=10\n[B]\nLen=1\n[F]\nLen=27\n[G]\nLen=3\n");
    ASSERT_EQ(layout.count(), 4);
    EXPECT_EQ(layout.field(1)->start, 1);
    EXPECT_EQ(layout.field(2)->start, 12);
    EXPECT_EQ(layout.field(3)->start, 14);
    EXPECT_EQ(layout.field(4)->start, 42);
}

TEST(RecordLayoutTest, AMissingLenCountsAsMinusOneInTheStarts) {
    const RecordLayout layout = DoseLayout("[D]\n1=A\n2=B\n[B]\nLen=5\n");
    ASSERT_EQ(layout.count(), 2);
    EXPECT_EQ(layout.field(1)->len, -1);
    EXPECT_EQ(layout.field(2)->start, 1);
}

struct NumberCase {
    const char* definition;
    std::int32_t len;
    std::int32_t minimumLen;
};

class FieldNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(FieldNumberTest, ConvertsLenAndMinimumLenToSixteenBits) {
    const RecordLayout layout = DoseLayout(std::string("[D]\n1=F\n[F]\n") + GetParam().definition);
    ASSERT_EQ(layout.count(), 1);
    EXPECT_EQ(layout.field(1)->len, GetParam().len) << GetParam().definition;
    EXPECT_EQ(layout.field(1)->minimumLen, GetParam().minimumLen) << GetParam().definition;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldNumberTest,
    testing::Values(NumberCase{"", -1, 0}, NumberCase{"Len=12.5\nMinimumLen=3\n", 12, 3},
                    NumberCase{"Len=13.5\nMinimumLen=2.5\n", 14, 2},
                    NumberCase{"Len=40000\nMinimumLen=40000\n", 0, 0},
                    NumberCase{"Len=-40000\nMinimumLen=-1.5\n", 0, -2},
                    NumberCase{"Len=32767\nMinimumLen=-32768\n", 32767, -32768},
                    NumberCase{"Len=abc\nMinimumLen=4x\n", 0, 4},
                    NumberCase{"Len=\nMinimumLen=\n", -1, 0},
                    NumberCase{"Len=True\nMinimumLen=False\n", -1, 0},
                    NumberCase{"LEN = 8 \nminimumlen=1\n", 8, 1}, NumberCase{"Len=&H10\n", 16, 0}));

TEST(RecordLayoutTest, NamesAreHeldAtTwentyFourCharacters) {
    const RecordLayout layout = DoseLayout(
        "[D]\n1=ID\n2=Monitoring_Period_Start_Date\n3=Twenty_three_characters Z\n"
        "[Monitoring_Period_Start_Date]\nLen=8\n");
    ASSERT_EQ(layout.count(), 3);
    EXPECT_EQ(layout.field(1)->name, "ID" + std::string(22, ' '));
    EXPECT_EQ(layout.field(1)->trimmedName, "ID");
    EXPECT_EQ(layout.field(2)->name, "Monitoring_Period_Start_");
    EXPECT_EQ(layout.field(2)->len, 8) << "the definition is read under the full name";
    EXPECT_EQ(layout.field(3)->name, "Twenty_three_characters ");
    EXPECT_EQ(layout.field(3)->trimmedName, "Twenty_three_characters");
    EXPECT_EQ(FindField(layout, "Monitoring_Period_Start_Date"), 0);
    EXPECT_EQ(FindField(layout, "Monitoring_Period_Start_"), 2);
}

TEST(RecordLayoutTest, DefinitionSectionsMatchIgnoringCase) {
    const RecordLayout layout = DoseLayout("[D]\n1=Sex\n[SEX]\nLen=1\nType=List\n");
    ASSERT_EQ(layout.count(), 1);
    EXPECT_EQ(layout.field(1)->len, 1);
    EXPECT_EQ(layout.field(1)->fieldType, FieldType::List);
}

struct TypeCase {
    const char* written;
    const char* held;
    FieldType fieldType;
};

class FieldTypeTest : public testing::TestWithParam<TypeCase> {};

TEST_P(FieldTypeTest, ComparesTheFourCharacterCodeExactly) {
    const std::string definition = GetParam().written == nullptr
                                       ? std::string()
                                       : std::string("Type=") + GetParam().written + "\n";
    const RecordLayout layout = DoseLayout("[D]\n1=F\n[F]\n" + definition);
    ASSERT_EQ(layout.count(), 1);
    EXPECT_EQ(layout.field(1)->type, GetParam().held);
    EXPECT_EQ(layout.field(1)->fieldType, GetParam().fieldType) << GetParam().held;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldTypeTest,
    testing::Values(
        TypeCase{"Date", "Date", FieldType::Date}, TypeCase{"A", "A   ", FieldType::Alpha},
        TypeCase{"AS", "AS  ", FieldType::AlphaSpace}, TypeCase{"Fon", "Fon ", FieldType::Phone},
        TypeCase{"AN", "AN  ", FieldType::AlphaNumeric}, TypeCase{"List", "List", FieldType::List},
        TypeCase{"LN", "LN  ", FieldType::LastName}, TypeCase{"Dose", "Dose", FieldType::Dose},
        TypeCase{"Nuc", "Nuc ", FieldType::Radionuclide},
        TypeCase{"E", "E   ", FieldType::Scientific}, TypeCase{"Listing", "List", FieldType::List},
        TypeCase{"date", "date", FieldType::None}, TypeCase{"a", "a   ", FieldType::None},
        TypeCase{"NA", "NA  ", FieldType::None}, TypeCase{"' A'", " A  ", FieldType::None},
        TypeCase{nullptr, "NA  ", FieldType::None}));

TEST(RecordLayoutTest, AConfigurationLackingARecordTypeIsNotUsable) {
    const LayoutTable table = LoadRecordLayouts(IniDocument("[H]\n1=A\n[C]\n1=A\n[D]\n1=A\n"));
    EXPECT_EQ(table.totalFieldCount(), 3);
    EXPECT_FALSE(table.usable());
    EXPECT_FALSE(LoadRecordLayouts(IniDocument()).usable());
}

TEST(RecordLayoutTest, LoadsTenThousandFields) {
    std::string text = "[D]\n";
    for (int k = 1; k <= 10000; ++k) text += std::to_string(k) + "=F" + std::to_string(k) + "\n";
    for (int k = 1; k <= 10000; ++k) text += "[F" + std::to_string(k) + "]\nLen=2\n";
    const RecordLayout layout = DoseLayout(text);
    ASSERT_EQ(layout.count(), 10000);
    EXPECT_EQ(layout.field(10000)->trimmedName, "F10000");
    EXPECT_EQ(layout.field(10000)->start, 1 + 9999 * 3);
    EXPECT_EQ(FindField(layout, "F9999"), 9999);
}

// Without the bound, 65,536 of the widest fields would carry the starts past 32 bits.
TEST(RecordLayoutTest, ALayoutEndsAfter32767Fields) {
    std::string text = "[D]\n";
    for (int k = 1; k <= 32800; ++k) text += std::to_string(k) + "=Wide\n";
    for (const char* len : {"32767", "-32768"}) {
        const RecordLayout layout = DoseLayout(text + "[Wide]\nLen=" + len + "\n");
        ASSERT_EQ(layout.count(), 32767) << len;
        const std::int64_t step = std::stoll(len) + 1;
        EXPECT_EQ(layout.field(32767)->start, 1 + 32766 * step) << len;
    }
}

TEST(FindFieldTest, ComparesTheTrimmedNameExactly) {
    const RecordLayout layout = DoseLayout("[D]\n1=Employee_ID\n2=Sex\n3=Sex\n");
    EXPECT_EQ(FindField(layout, "Sex"), 2);
    EXPECT_EQ(FindField(layout, "Employee_ID"), 1);
    EXPECT_EQ(FindField(layout, "sex"), 0);
    EXPECT_EQ(FindField(layout, "Sex "), 0);
    EXPECT_EQ(FindField(layout, ""), 0);
}

}  // namespace
}  // namespace talveron
