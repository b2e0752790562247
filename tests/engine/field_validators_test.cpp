#include "engine/field_validators.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/record_fixture.h"

namespace talveron {
namespace {

using testing::Expected;
using testing::MakeLayout;
using testing::RecordFixture;

using enum OptionKey;
constexpr auto E = Level::Error;
constexpr auto W = Level::Warning;

constexpr std::string_view kLists =
    "[Sex_List]\nM=Male\nF=Female\n"
    "[ID_Type_List]\nSSN=Social security number\nEMP=$\n"
    "[Radionuclide_List]\nCO-60=Cobalt\nH-3=Tritium\n"
    "[Color_List]\nRED=1\n";

// Field names are padded to 24 characters in the too-short message.
const std::string kSurname = "Surname" + std::string(17, ' ');
const std::string kTooShort3 = kSurname + " Column value length(3) is less than the minimum 5";
const std::string kTooShort0 = kSurname + " Column value length(0) is less than the minimum 1";

class FieldValidatorsTest : public ::testing::Test {
protected:
    FieldValidatorsTest() { fixture.lists = ValueLists::Load(IniDocument(std::string(kLists))); }

    /// Validates the value in field 2 (from character 5) of the given type, name and minimum
    /// length, with every check on but `off`, and expects exactly these findings.
    void expect(std::string_view type, std::string_view value,
                const std::vector<Expected>& expected, const std::vector<OptionKey>& off = {},
                std::string_view name = "Field", std::int32_t minimumLen = 0) {
        SCOPED_TRACE(std::string(type) + " '" + std::string(value) + "'");
        fixture.switchOff(off);
        fixture.layout(RecordType::Dose) = MakeLayout({{"Pad", 3}, {name, 16, type, minimumLen}});
        fixture.check(RecordType::Dose, {{name, value}}, ValidateFields);
        fixture.expect(expected);
    }

    RecordFixture fixture;
};

TEST_F(FieldValidatorsTest, CharacterSetsReportEveryCharacterOutsideThem) {
    // Lower-case letters pass where their capitals do.
    expect("A", "jo 3",
           {{AIC, E, 2, 7, "Alpha value contains invalid character ' '"},
            {AIC, E, 2, 8, "Alpha value contains invalid character '3'"}});
    expect("AS", "ab c-", {{AIC, E, 2, 9, "Alpha value contains invalid character '-'"}});
    expect("AN", "ab-1", {{ANIC, E, 2, 7, "Alphanumeric Value contains invalid character '-'"}});
    expect("LN", "O'Neil-Kay, Jr2",
           {{ANIC, E, 2, 19, "Alphanumeric Value contains invalid character '2'"}});
    // The message shows the character upper-cased.
    expect("Fon", "(555) 123-4567x", {{PIC, E, 2, 19, "Phone # contains invalid character 'X'"}});
    expect("E", "1,5e-3",
           {{NVCIC, E, 2, 6, "Scientific notation value contains invalid character ','"}});
    expect("Nuc", "co-60", {});
    expect("Nuc", "CO_60",
           {{RVCI, E, 2, 7, "Radionuclide value contains invalid character '_'"},
            {VNVR, W, 2, 5, "'CO_60' Is not a valid Radionuclide"}});
    expect("Nuc", "XX-1", {}, {VNVR});
    expect("Nuc", "", {});
    expect("A", "J0N", {}, {AIC});
    // An unknown type code, and one spelled in the wrong case, have no rule at all.
    expect("NA", "#$%", {});
    expect("date", "#$%", {});
}

TEST_F(FieldValidatorsTest, CharacterFindingsPointAtOneCharacter) {
    ASSERT_NO_FATAL_FAILURE(expect("A", "AB1", {{AIC, E, 2, 7}}));
    EXPECT_EQ(fixture.sink.findings[0].spanFirst, 7);
    EXPECT_EQ(fixture.sink.findings[0].spanLast, 7);
}

TEST_F(FieldValidatorsTest, AValueTooShortGetsNoTypeRuleWhetherReportedOrNot) {
    expect("A", "AB1", {{LLMA, E, 2, 5, kTooShort3}}, {}, "Surname", 5);
    expect("NA", "", {{LLMA, E, 2, 5, kTooShort0}}, {}, "Surname", 1);
    expect("A", "AB1", {}, {LLMA}, "Field", 5);
    expect("A", "ABCD1", {{AIC, E, 2, 9}}, {}, "Field", 5);
}

TEST_F(FieldValidatorsTest, ListFieldsReportMissesOfTheEightListsOnly) {
    expect("List", "X", {{SexList, E, 2, 5, "'X' Is not a valid value for Sex"}}, {}, "Sex");
    // Values match regardless of case; an empty value is not looked up.
    expect("List", "f", {}, {}, "Sex");
    expect("List", "", {}, {}, "Sex");
    // A key whose value is "$" does not admit the value.
    expect("List", "EMP", {{IDTypeList, E, 2, 5, "'EMP' Is not a valid value for ID_Type"}}, {},
           "ID_Type");
    expect("List", "D", {{RecordTypeList, E, 2, 5, "'D' Is not a valid value for Record_Type"}}, {},
           "Record_Type");
    expect("List", "BLUE", {}, {}, "Color");
    // The character rule runs first, then the lookup.
    expect("List", "M1",
           {{AIC, E, 2, 6, "Alpha value contains invalid character '1'"},
            {SexList, E, 2, 5, "'M1' Is not a valid value for Sex"}},
           {}, "Sex");
    expect("List", "X", {}, {SexList}, "Sex");
    // The radionuclide list field follows its list's switch, not the radionuclide check.
    expect("List", "XX",
           {{RadionuclideList, E, 2, 5, "'XX' Is not a valid value for Radionuclide"}}, {VNVR},
           "Radionuclide");
}

TEST_F(FieldValidatorsTest, DoseFieldsAreJudgedBySignZeroAndSyntax) {
    for (const char* zero : {"0.000", ".0", ""}) {
        expect("Dose", zero, {{NRND, W, 2, 5, "Use NR or ND instead of 0.0 for doses"}});
    }
    for (const char* passing : {"0.125", "NR", "NC"}) expect("Dose", passing, {});
    expect("Dose", "R",
           {{DVIC, E, 2, 5, "Invalid character 'R' in dose"},
            {DVIC, E, 2, 5, "Invalid character 'R' found in dose value"}});
    expect("Dose", "-1",
           {{DVIC, E, 2, 5, "Dose contains invalid character '-'"},
            {DGZ, E, 2, 5, "Doses must be greater than zero"},
            {DVIC, E, 2, 5, "Invalid character '-' found in dose value"}});
    // A lower-case n is no code: the value reads as a zero that starts with a letter.
    expect("Dose", "nr",
           {{DVIC, E, 2, 5, "Invalid character 'n' in dose"},
            {DVIC, E, 2, 5, "Invalid character 'r' found in dose value"}});
    expect("Dose", "1.2.3", {{INDD, E, 2, 5, "Invalid number of decimals in dose"}});
    expect("Dose", "1 2",
           {{DVIC, E, 2, 6, "Dose contains invalid character ' '"},
            {ESDV, E, 2, 5, "Embedded space found in dose value"}});
    expect("Dose", "0.0", {}, {NRND});
    expect("Dose", "-1", {{DVIC, E, 2, 5}, {DVIC, E, 2, 5}}, {DGZ});
    expect("Dose", "R", {}, {DVIC});
    expect("Dose", "1 2", {{ESDV, E, 2, 5}}, {DVIC});
}

// The fixture's present moment is 15 June 2024, 10:30.
TEST_F(FieldValidatorsTest, DateFieldsAreJudgedByCalendarPresentAndParts) {
    // Today passes; a value not eight characters long gets no date rule.
    for (const char* passing : {"20030415", "20240615", "20000229", "2003041", "000000000"}) {
        expect("Date", passing, {});
    }
    expect("Date", "20240616", {{DCD, E, 2, 5, "Date must be before todays date"}});
    expect("Date", "00000000",
           {{NCD, E, 2, 5, "Value can not be converted to a valid date"},
            {DBI, W, 2, 6, "Dates before 1900 are likely to be incorrect"},
            {DIM, E, 2, 9, "Date contains invalid month"},
            {DID, E, 2, 11, "Date contains invalid day of month"}});
    // Month and day are never exchanged: 13/12 is no date although 12/13 would be.
    expect("Date", "19991312", {{NCD, E, 2, 5}, {DIM, E, 2, 9}});
    expect("Date", "18500101", {{DBI, W, 2, 6}});
    expect("Date", "20030230", {{NCD, E, 2, 5}});
    expect("Date", "19000229", {{NCD, E, 2, 5}});
    expect("Date", "20030132", {{NCD, E, 2, 5}, {DID, E, 2, 11}});
    expect("Date", "00000000", {{DBI, W, 2, 6}, {DIM, E, 2, 9}, {DID, E, 2, 11}}, {NCD});
    expect("Date", "00000000", {{NCD, E, 2, 5}}, {DBI, DIM, DID});
    expect("Date", "20240616", {}, {DCD});
}

TEST_F(FieldValidatorsTest, ThePresentMomentDecidesWhatIsInTheFuture) {
    fixture.present = LocalDateTime{2024, 6, 16, 0, 0, 1};
    expect("Date", "20240616", {});
}

TEST_F(FieldValidatorsTest, EveryFieldOfTheLayoutIsJudgedInOrder) {
    fixture.layout(RecordType::Comment) =
        MakeLayout({{"Name", 4, "A"}, {"Phone", 4, "Fon"}, {"Sex", 1, "List"}});
    fixture.check(RecordType::Comment, {{"Name", "AB1"}, {"Phone", "12a"}, {"Sex", "X"}},
                  ValidateFields);
    fixture.expect({{AIC, E, 1, 3}, {PIC, E, 2, 8}, {SexList, E, 3, 11}});
}

}  // namespace
}  // namespace talveron
