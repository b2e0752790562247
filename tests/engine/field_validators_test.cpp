#include "engine/field_validators.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/record_fixture.h"

namespace talveron {
namespace {

using testing::Expected;
using testing::ExpectFindings;
using testing::FieldSpec;
using testing::MakeLayout;
using testing::RecordFixture;

constexpr auto E = Level::Error;
constexpr auto W = Level::Warning;

constexpr std::string_view kLists =
    "[Sex_List]\nM=Male\nF=Female\n"
    "[ID_Type_List]\nSSN=Social security number\nEMP=$\n"
    "[Radionuclide_List]\nCO-60=Cobalt\nH-3=Tritium\n"
    "[Color_List]\nRED=1\n";

/// One field under test, placed after a three-character field so that it starts at 5 and is
/// field 2 of the layout.
class FieldValidatorsTest : public ::testing::Test {
  protected:
    static constexpr std::int32_t kStart = 5;
    static constexpr std::int32_t kColumn = 2;

    FieldValidatorsTest() { fixture.lists = ValueLists::Load(IniDocument(std::string(kLists))); }

    void validate(std::string_view type, std::string_view value, std::int32_t minimumLen = 0,
                  std::string_view name = "Field") {
        fixture.sink.findings.clear();
        fixture.layout(RecordType::Dose) =
            MakeLayout({{"Pad", 3}, FieldSpec{name, 16, type, minimumLen}});
        line = fixture.line(RecordType::Dose, {{name, value}});
        fixture.run(RecordType::Dose, line, ValidateFields);
    }

    void expect(const std::vector<Expected>& expected) {
        ExpectFindings(fixture.sink.findings, fixture.lastCounts, expected);
    }

    RecordFixture fixture;
    std::string line;
};

struct CharacterCase {
    std::string_view type;
    std::string_view value;
    std::vector<Expected> expected;
};

class CharacterSetTest : public FieldValidatorsTest,
                         public ::testing::WithParamInterface<CharacterCase> {};

TEST_P(CharacterSetTest, ReportsEveryCharacterOutsideTheTypesSet) {
    const CharacterCase& c = GetParam();
    validate(c.type, c.value);
    expect(c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, CharacterSetTest,
    ::testing::Values(
        CharacterCase{
            "A", "JO3N", {{OptionKey::AIC, E, 2, 7, "Alpha value contains invalid character '3'"}}},
        CharacterCase{"A", "jon", {}},
        CharacterCase{"A",
                      "AB CD",
                      {{OptionKey::AIC, E, 2, 7, "Alpha value contains invalid character ' '"}}},
        CharacterCase{"A", "12", {{OptionKey::AIC, E, 2, 5}, {OptionKey::AIC, E, 2, 6}}},
        CharacterCase{"AS", "AB CD", {}},
        CharacterCase{"AS",
                      "AB-CD",
                      {{OptionKey::AIC, E, 2, 7, "Alpha value contains invalid character '-'"}}},
        CharacterCase{
            "AN",
            "ab-1",
            {{OptionKey::ANIC, E, 2, 7, "Alphanumeric Value contains invalid character '-'"}}},
        CharacterCase{"LN", "O'Neil-Kay, Jr.", {}},
        CharacterCase{
            "LN",
            "Kay2",
            {{OptionKey::ANIC, E, 2, 8, "Alphanumeric Value contains invalid character '2'"}}},
        CharacterCase{"Fon", "(555) 123-4567", {}},
        // The message shows the character upper-cased.
        CharacterCase{
            "Fon", "555x", {{OptionKey::PIC, E, 2, 8, "Phone # contains invalid character 'X'"}}},
        CharacterCase{"E", "1.5e-3", {}},
        CharacterCase{"E",
                      "1,5E+2",
                      {{OptionKey::NVCIC, E, 2, 6,
                        "Scientific notation value contains invalid character ','"}}},
        CharacterCase{"Nuc", "co-60", {}},
        CharacterCase{
            "Nuc",
            "CO_60",
            {{OptionKey::RVCI, E, 2, 7, "Radionuclide value contains invalid character '_'"},
             {OptionKey::VNVR, W, 2, 5, "'CO_60' Is not a valid Radionuclide"}}},
        CharacterCase{"Dose", "1.5", {}},
        // An unknown type code, and one spelled in the wrong case, have no rule at all.
        CharacterCase{"NA", "#$%", {}}, CharacterCase{"date", "#$%", {}}));

TEST_F(FieldValidatorsTest, CharacterFindingsPointAtOneCharacter) {
    validate("A", "AB1");
    ASSERT_EQ(fixture.sink.findings.size(), 1u);
    EXPECT_EQ(fixture.sink.findings[0].spanFirst, 7);
    EXPECT_EQ(fixture.sink.findings[0].spanLast, 7);
}

TEST_F(FieldValidatorsTest, SwitchedOffCharacterCheckWritesAndCountsNothing) {
    fixture.options.set(OptionKey::AIC, 0);
    validate("A", "J0N");
    expect({});
}

TEST_F(FieldValidatorsTest, TooShortValueIsReportedWithThePaddedFieldName) {
    validate("A", "AB1", 5, "Surname");
    const std::string message =
        "Surname" + std::string(17, ' ') + " Column value length(3) is less than the minimum 5";
    // The invalid 1 is not judged: a value too short gets no type rule.
    expect({{OptionKey::LLMA, E, kColumn, kStart, message}});
}

TEST_F(FieldValidatorsTest, EmptyValueBelowItsMinimumIsTooShort) {
    validate("NA", "", 1, "Surname");
    expect({{OptionKey::LLMA, E, kColumn, kStart,
             "Surname" + std::string(17, ' ') +
                 " Column value length(0) is less than the minimum 1"}});
}

TEST_F(FieldValidatorsTest, TooShortValueGetsNoTypeRuleEvenWithTheCheckOff) {
    fixture.options.set(OptionKey::LLMA, 0);
    validate("A", "AB1", 5);
    expect({});
}

TEST_F(FieldValidatorsTest, ValueOfExactlyTheMinimumGetsItsTypeRule) {
    validate("A", "ABCD1", 5);
    expect({{OptionKey::AIC, E, kColumn, 9}});
}

struct ListCase {
    std::string_view name;
    std::string_view value;
    std::vector<Expected> expected;
};

class ListTest : public FieldValidatorsTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListTest, ReportsMissesOfTheEightListsOnly) {
    const ListCase& c = GetParam();
    validate("List", c.value, 0, c.name);
    expect(c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListTest,
    ::testing::Values(
        ListCase{"Sex", "X", {{OptionKey::SexList, E, 2, 5, "'X' Is not a valid value for Sex"}}},
        ListCase{"Sex", "M", {}}, ListCase{"Sex", "f", {}},  // list values match regardless of case
        ListCase{"Sex", "", {}},                             // an empty value is not looked up
        // A key whose value is "$" does not admit the value.
        ListCase{"ID_Type",
                 "EMP",
                 {{OptionKey::IDTypeList, E, 2, 5, "'EMP' Is not a valid value for ID_Type"}}},
        ListCase{
            "Record_Type",
            "D",
            {{OptionKey::RecordTypeList, E, 2, 5, "'D' Is not a valid value for Record_Type"}}},
        // A list outside the eight is never reported, found or not.
        ListCase{"Color", "BLUE", {}},
        // The character rule runs first, then the lookup.
        ListCase{"Sex",
                 "M1",
                 {{OptionKey::AIC, E, 2, 6, "Alpha value contains invalid character '1'"},
                  {OptionKey::SexList, E, 2, 5, "'M1' Is not a valid value for Sex"}}}));

TEST_F(FieldValidatorsTest, ListMissFollowsItsListsSwitch) {
    fixture.options.set(OptionKey::SexList, 0);
    validate("List", "X", 0, "Sex");
    expect({});
}

TEST_F(FieldValidatorsTest, RadionuclideListFieldFollowsTheListSwitchNotTheRadionuclideCheck) {
    fixture.options.set(OptionKey::VNVR, 0);
    validate("List", "XX", 0, "Radionuclide");
    expect({{OptionKey::RadionuclideList, E, kColumn, kStart,
             "'XX' Is not a valid value for Radionuclide"}});
}

TEST_F(FieldValidatorsTest, RadionuclideMissIsAWarningSwitchedByItsCheck) {
    validate("Nuc", "XX-1");
    expect({{OptionKey::VNVR, W, kColumn, kStart, "'XX-1' Is not a valid Radionuclide"}});
    fixture.options.set(OptionKey::VNVR, 0);
    validate("Nuc", "XX-1");
    expect({});
}

TEST_F(FieldValidatorsTest, EmptyRadionuclideIsNotLookedUp) {
    validate("Nuc", "");
    expect({});
}

struct DoseCase {
    std::string_view value;
    std::vector<Expected> expected;
};

class DoseTypeTest : public FieldValidatorsTest, public ::testing::WithParamInterface<DoseCase> {};

TEST_P(DoseTypeTest, JudgesSignZeroAndSyntax) {
    const DoseCase& c = GetParam();
    validate("Dose", c.value);
    expect(c.expected);
}

constexpr std::string_view kZeroDose = "Use NR or ND instead of 0.0 for doses";

INSTANTIATE_TEST_SUITE_P(
    Doses, DoseTypeTest,
    ::testing::Values(
        DoseCase{"0.000", {{OptionKey::NRND, W, 2, 5, kZeroDose}}},
        DoseCase{".0", {{OptionKey::NRND, W, 2, 5, kZeroDose}}},
        DoseCase{"", {{OptionKey::NRND, W, 2, 5, kZeroDose}}}, DoseCase{"0.125", {}},
        DoseCase{"NR", {}}, DoseCase{"ND", {}}, DoseCase{"NC", {}},
        DoseCase{"R",
                 {{OptionKey::DVIC, E, 2, 5, "Invalid character 'R' in dose"},
                  {OptionKey::DVIC, E, 2, 5, "Invalid character 'R' found in dose value"}}},
        DoseCase{"-1",
                 {{OptionKey::DVIC, E, 2, 5, "Dose contains invalid character '-'"},
                  {OptionKey::DGZ, E, 2, 5, "Doses must be greater than zero"},
                  {OptionKey::DVIC, E, 2, 5, "Invalid character '-' found in dose value"}}},
        // A lower-case n is no code: the value reads as a zero that starts with a letter.
        DoseCase{"nr",
                 {{OptionKey::DVIC, E, 2, 5, "Invalid character 'n' in dose"},
                  {OptionKey::DVIC, E, 2, 5, "Invalid character 'r' found in dose value"}}},
        DoseCase{"1.2.3", {{OptionKey::INDD, E, 2, 5, "Invalid number of decimals in dose"}}},
        DoseCase{"1 2",
                 {{OptionKey::DVIC, E, 2, 6, "Dose contains invalid character ' '"},
                  {OptionKey::ESDV, E, 2, 5, "Embedded space found in dose value"}}},
        DoseCase{"5X",
                 {{OptionKey::DVIC, E, 2, 6, "Dose contains invalid character 'X'"},
                  {OptionKey::DVIC, E, 2, 5, "Invalid character 'X' found in dose value"}}}));

TEST_F(FieldValidatorsTest, ZeroDoseWarningFollowsItsCheck) {
    fixture.options.set(OptionKey::NRND, 0);
    validate("Dose", "0.0");
    expect({});
}

TEST_F(FieldValidatorsTest, NegativeDoseErrorFollowsItsCheck) {
    fixture.options.set(OptionKey::DGZ, 0);
    validate("Dose", "-1");
    expect({{OptionKey::DVIC, E, kColumn, kStart}, {OptionKey::DVIC, E, kColumn, kStart}});
}

TEST_F(FieldValidatorsTest, DoseCharacterChecksOffLeaveOnlyTheSyntaxChecksThatAreOn) {
    fixture.options.set(OptionKey::DVIC, 0);
    validate("Dose", "R");
    expect({});
    validate("Dose", "1 2");
    expect({{OptionKey::ESDV, E, kColumn, kStart}});
}

struct DateCase {
    std::string_view value;
    std::vector<Expected> expected;
};

class DateTypeTest : public FieldValidatorsTest, public ::testing::WithParamInterface<DateCase> {};

// The fixture's present moment is 15 June 2024, 10:30.
TEST_P(DateTypeTest, JudgesCalendarPresentAndParts) {
    const DateCase& c = GetParam();
    validate("Date", c.value);
    expect(c.expected);
}

constexpr std::string_view kNotADate = "Value can not be converted to a valid date";

INSTANTIATE_TEST_SUITE_P(
    Dates, DateTypeTest,
    ::testing::Values(
        DateCase{"20030415", {}}, DateCase{"20240615", {}},  // today passes
        DateCase{"20240616", {{OptionKey::DCD, E, 2, 5, "Date must be before todays date"}}},
        DateCase{"00000000",
                 {{OptionKey::NCD, E, 2, 5, kNotADate},
                  {OptionKey::DBI, W, 2, 6, "Dates before 1900 are likely to be incorrect"},
                  {OptionKey::DIM, E, 2, 9, "Date contains invalid month"},
                  {OptionKey::DID, E, 2, 11, "Date contains invalid day of month"}}},
        // Month and day are never exchanged: 13/12 is no date although 12/13 would be.
        DateCase{"19991312",
                 {{OptionKey::NCD, E, 2, 5, kNotADate},
                  {OptionKey::DIM, E, 2, 9, "Date contains invalid month"}}},
        DateCase{"18500101",
                 {{OptionKey::DBI, W, 2, 6, "Dates before 1900 are likely to be incorrect"}}},
        DateCase{"20030230", {{OptionKey::NCD, E, 2, 5, kNotADate}}}, DateCase{"20000229", {}},
        DateCase{"19000229", {{OptionKey::NCD, E, 2, 5, kNotADate}}},
        DateCase{"20030132",
                 {{OptionKey::NCD, E, 2, 5, kNotADate},
                  {OptionKey::DID, E, 2, 11, "Date contains invalid day of month"}}},
        DateCase{"2003041", {}},  // not eight characters: no date rule
        DateCase{"000000000", {}}));

TEST_F(FieldValidatorsTest, DateChecksFollowTheirCodes) {
    fixture.options.set(OptionKey::NCD, 0);
    validate("Date", "00000000");
    expect({{OptionKey::DBI, W, kColumn, 6},
            {OptionKey::DIM, E, kColumn, 9},
            {OptionKey::DID, E, kColumn, 11}});
    fixture.options.set(OptionKey::DCD, 0);
    validate("Date", "20240616");
    expect({});
}

TEST_F(FieldValidatorsTest, PresentMomentDecidesWhatIsInTheFuture) {
    fixture.present = LocalDateTime{2024, 6, 16, 0, 0, 1};
    validate("Date", "20240616");
    expect({});
}

TEST_F(FieldValidatorsTest, EveryFieldOfTheLayoutIsJudgedInOrder) {
    fixture.layout(RecordType::Comment) =
        MakeLayout({{"Name", 4, "A"}, {"Phone", 4, "Fon"}, {"Sex", 1, "List"}});
    const std::string record =
        fixture.line(RecordType::Comment, {{"Name", "AB1"}, {"Phone", "12a"}, {"Sex", "X"}});
    fixture.run(RecordType::Comment, record, ValidateFields);
    expect({{OptionKey::AIC, E, 1, 3}, {OptionKey::PIC, E, 2, 8}, {OptionKey::SexList, E, 3, 11}});
}

}  // namespace
}  // namespace talveron
