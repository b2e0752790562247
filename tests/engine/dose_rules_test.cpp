#include "engine/dose_rules.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/record_fixture.h"

namespace talveron {
namespace {

using testing::Expected;
using testing::ExpectFindings;
using testing::FieldValues;
using testing::MakeLayout;
using testing::RecordFixture;

constexpr auto E = Level::Error;
constexpr auto W = Level::Warning;

// ---------------------------------------------------------------------------------------------
// DoseValueSyntax

struct SyntaxCase {
    std::string_view value;
    std::string_view message;
    OptionKey code = OptionKey::DVIC;
};

class DoseValueSyntaxTest : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(DoseValueSyntaxTest, ReturnsTheLastApplicableMessage) {
    const SyntaxCase& c = GetParam();
    OptionKey code = OptionKey::GRF;
    EXPECT_EQ(DoseValueSyntax(c.value, OptionSettings::Defaults(), &code), c.message);
    if (!c.message.empty()) {
        EXPECT_EQ(code, c.code);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, DoseValueSyntaxTest,
    ::testing::Values(SyntaxCase{"NR", ""}, SyntaxCase{"ND", ""}, SyntaxCase{"NC", ""},
                      SyntaxCase{"", ""}, SyntaxCase{"  NR  ", ""}, SyntaxCase{"0.125", ""},
                      SyntaxCase{".5", ""}, SyntaxCase{"5.", ""},
                      SyntaxCase{"1.2.3", "Invalid number of decimals in dose", OptionKey::INDD},
                      SyntaxCase{".5.", "Invalid number of decimals in dose", OptionKey::INDD},
                      SyntaxCase{"1 2", "Embedded space found in dose value", OptionKey::ESDV},
                      SyntaxCase{"X5", "Invalid character 'X' found in dose value"},
                      SyntaxCase{"5X", "Invalid character 'X' found in dose value"},
                      SyntaxCase{"X5Y", "Invalid character 'Y' found in dose value"},
                      // The last character may be a code letter, the first only N.
                      SyntaxCase{"5D", ""}, SyntaxCase{"N5", ""},
                      SyntaxCase{"D5", "Invalid character 'D' found in dose value"},
                      SyntaxCase{"nd", "Invalid character 'd' found in dose value"},
                      SyntaxCase{"X1.2.3 4", "Embedded space found in dose value",
                                 OptionKey::ESDV}));

TEST(DoseValueSyntaxSwitches, SwitchedOffChecksGiveWayToEarlierOnes) {
    OptionSettings options = OptionSettings::Defaults();
    options.set(OptionKey::ESDV, 0);
    EXPECT_EQ(DoseValueSyntax("X1.2.3 4", options), "Invalid number of decimals in dose");
    options.set(OptionKey::INDD, 0);
    EXPECT_EQ(DoseValueSyntax("X1.2.3 4", options), "Invalid character 'X' found in dose value");
    options.set(OptionKey::DVIC, 0);
    EXPECT_EQ(DoseValueSyntax("X1.2.3 4", options), "");
}

// ---------------------------------------------------------------------------------------------
// CheckDoseValues

/// Column and character of a dose field in the layout below.
struct Place {
    std::int32_t column;
    std::int32_t character;
};
constexpr Place kCede{3, 15}, kCde{4, 34}, kTode{5, 53}, kDde{6, 72}, kTede{7, 91}, kLde{8, 110},
    kSdeWb{9, 129}, kSdeMe{10, 148};

Expected At(OptionKey code, Level level, Place place, std::string_view message = {}) {
    return {code, level, place.column, place.character, message};
}

class DoseRulesTest : public ::testing::Test {
  protected:
    static constexpr std::int64_t kLine = 10;

    DoseRulesTest() {
        fixture.layout(RecordType::Dose) = MakeLayout({{"Employee_ID", 9},
                                                       {"ID_Type", 3},
                                                       {"CEDE", 18},
                                                       {"CDE", 18},
                                                       {"TODE", 18},
                                                       {"DDE", 18},
                                                       {"TEDE", 18},
                                                       {"LDE", 18},
                                                       {"SDE_WB", 18},
                                                       {"SDE_ME", 18}});
    }

    /// Seals the register on first use, then runs the dose rules on a record of these values.
    void check(const FieldValues& values) {
        fixture.sink.findings.clear();
        line = fixture.line(RecordType::Dose, values);
        if (!sealed) fixture.doses.buildIndex();
        sealed = true;
        fixture.run(RecordType::Dose, line, CheckDoseValues, kLine);
    }

    void expect(const std::vector<Expected>& expected) {
        ExpectFindings(fixture.sink.findings, fixture.lastCounts, expected);
    }

    void addIntake(std::int64_t doseLine, double intake) {
        fixture.doses.addIntake({doseLine, doseLine + 1, intake});
    }

    RecordFixture fixture;
    std::string line;
    bool sealed = false;
};

struct DoseRuleCase {
    std::string_view name;
    FieldValues values;
    std::vector<Expected> expected;
};

/// The limits, NC rules and sums, with the intake correlation out of the way.
class DoseRuleTableTest : public DoseRulesTest, public ::testing::WithParamInterface<DoseRuleCase> {
  protected:
    DoseRuleTableTest() {
        fixture.options.set(OptionKey::HNCIR, 0);
        fixture.options.set(OptionKey::IRNN, 0);
        fixture.options.set(OptionKey::CNIR, 0);
    }
};

TEST_P(DoseRuleTableTest, ReportsExactlyTheRulesThatApply) {
    const DoseRuleCase& c = GetParam();
    check(c.values);
    expect(c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DoseRuleTableTest,
    ::testing::Values(
        DoseRuleCase{"BlankRecord", {}, {}},
        DoseRuleCase{"CedeOneWithCdeNR", {{"CEDE", "1.0"}, {"CDE", "NR"}, {"TEDE", "1.0"}}, {}},
        DoseRuleCase{"CedeAboveOneWithCdeND",
                     {{"CEDE", "1.2"}, {"CDE", "ND"}, {"TEDE", "1.2"}},
                     {At(OptionKey::CDEN, E, kCde,
                         "When CEDE > 1.0  CDE must be > 0.0 and NOT 'NC','ND', or 'NR'")}},
        DoseRuleCase{"CedeAboveOneWithCdeBlank",
                     {{"CEDE", "1.2"}, {"TEDE", "1.2"}},
                     {At(OptionKey::CDEN, E, kCde)}},
        DoseRuleCase{"CedeAboveOneWithCdeDose",
                     {{"CEDE", "1.2"}, {"CDE", "0.5"}, {"TODE", "0.5"}, {"TEDE", "1.2"}},
                     {}},
        DoseRuleCase{"CedeAboveFive",
                     {{"CEDE", "6.0"}, {"CDE", "1.0"}, {"TODE", "1.0"}, {"TEDE", "6.0"}},
                     {At(OptionKey::CGT5, W, kCede, "CEDE is > 5.0"),
                      At(OptionKey::TGT5, W, kTede, "TEDE is > 5.0")}},
        DoseRuleCase{
            "TedeFive",
            {{"DDE", "4.0"}, {"CEDE", "1.0"}, {"TEDE", "5.0"}, {"CDE", "0.1"}, {"TODE", "4.1"}},
            {}},
        DoseRuleCase{
            "TedeAboveFive",
            {{"DDE", "4.0"}, {"CEDE", "1.001"}, {"TEDE", "5.001"}, {"CDE", "0.1"}, {"TODE", "4.1"}},
            {At(OptionKey::TGT5, W, kTede)}},
        DoseRuleCase{"CdeAndTodeNC", {{"CDE", "NC"}, {"TODE", "NC"}}, {}},
        DoseRuleCase{"NoCdeSumWhenCdeNC",
                     {{"CDE", "NC"}, {"TODE", "NC"}, {"DDE", "0.5"}, {"TEDE", "0.5"}},
                     {}},
        DoseRuleCase{"CdeNCTodeND",
                     {{"CDE", "NC"}, {"TODE", "ND"}},
                     {At(OptionKey::CTODE, E, kCde,
                         "If CDE is 'NC' then TODE must also be 'NC' and visa versa")}},
        DoseRuleCase{"CdeAboveFiftyWithoutNC",
                     {{"CDE", "60.0"}, {"TODE", "60.0"}},
                     {At(OptionKey::TOGT50, W, kTode, "TODE is > 50.0")}},
        DoseRuleCase{"CdeAboveFiftyTodeNC",
                     {{"CDE", "60.0"}, {"TODE", "NC"}},
                     {At(OptionKey::CTODE, E, kCde), At(OptionKey::CGT50, W, kCde, "CDE is > 50.0"),
                      At(OptionKey::DCTSUM, E, kTode, "The sum of DDE and CDE should equal TODE")}},
        DoseRuleCase{"CedeNC",
                     {{"CEDE", "NC"}},
                     {At(OptionKey::NCNTO, E, kCede,
                         "'NC' for CEDE invalid. 'NC' is only valid for CDE & TODE doses")}},
        DoseRuleCase{"LdeNC",
                     {{"LDE", "NC"}},
                     {At(OptionKey::NCLDE, E, kLde,
                         "'NC' for LDE is invalid. 'NC' is only valid for CDE & TODE doses")}},
        DoseRuleCase{"LdeFifteen", {{"LDE", "15.0"}}, {}},
        DoseRuleCase{"LdeAboveFifteen",
                     {{"LDE", "15.01"}},
                     {At(OptionKey::LGT15, W, kLde, "LDE is > 15.0")}},
        DoseRuleCase{"DdeNC",
                     {{"DDE", "NC"}},
                     {At(OptionKey::NCDDE, E, kDde,
                         "'NC' for DDE is invalid 'NC' is only valid for CDE & TODE doses")}},
        DoseRuleCase{"DdeAboveFive",
                     {{"DDE", "5.5"}, {"TEDE", "5.5"}, {"TODE", "5.5"}},
                     {At(OptionKey::DGT5, W, kDde, "DDE is > 5.0"), At(OptionKey::TGT5, W, kTede)}},
        DoseRuleCase{"SdeMeNC",
                     {{"SDE_ME", "NC"}},
                     {At(OptionKey::NSDE, E, kSdeMe,
                         "'NC' for SDE_ME is invalid. 'NC' is only valid for CDE & TODE doses")}},
        DoseRuleCase{"SdeMeAboveFifty",
                     {{"SDE_ME", "50.1"}},
                     {At(OptionKey::SGT50, W, kSdeMe, "SDE_ME is > 50.0")}},
        DoseRuleCase{"SdeWbNC",
                     {{"SDE_WB", "NC"}},
                     {At(OptionKey::SNC, E, kSdeWb,
                         "'NC' for SDE_WB is invalid 'NC' is only valid for CDE & TODE doses")}},
        DoseRuleCase{"SdeWbFifty", {{"SDE_WB", "50.0"}}, {}},
        DoseRuleCase{"SdeWbAboveFifty",
                     {{"SDE_WB", "50.1"}},
                     {At(OptionKey::SWB50, W, kSdeWb, "SDE_WB is > 50.0")}},
        DoseRuleCase{"TedeNCStillSummed",
                     {{"TEDE", "NC"}, {"DDE", "0.5"}, {"TODE", "0.5"}},
                     {At(OptionKey::TNC, E, kTede,
                         "'NC' for TEDE is invalid 'NC' is only valid for CDE & TODE doses"),
                      At(OptionKey::DCSUM, E, kTede, "The sum of DDE and CEDE should equal TEDE")}},
        DoseRuleCase{"SumToFifteenDigits",
                     {{"DDE", "0.1"}, {"CEDE", "0.2"}, {"TEDE", "0.3"}, {"TODE", "0.1"}},
                     {}},
        DoseRuleCase{"SumDiffers",
                     {{"DDE", "0.1"}, {"CEDE", "0.2"}, {"TEDE", "0.31"}, {"TODE", "0.1"}},
                     {At(OptionKey::DCSUM, E, kTede)}},
        DoseRuleCase{"SumOfCodesIsZero", {{"DDE", "ND"}, {"CEDE", "NR"}, {"TEDE", "ND"}}, {}},
        DoseRuleCase{"SixteenthDigitIsNoDifference",
                     {{"DDE", "1.000000000000001"}, {"TEDE", "1"}, {"TODE", "1"}},
                     {}},
        DoseRuleCase{"FifteenthDigitIsADifference",
                     {{"DDE", "1"}, {"TEDE", "1.00000000000001"}, {"TODE", "1"}},
                     {At(OptionKey::DCSUM, E, kTede)}},
        DoseRuleCase{"NegativeZeroSumEqualsZero",
                     {{"DDE", "-0"}, {"CEDE", "-0"}, {"CDE", "-0"}, {"TEDE", "0"}, {"TODE", "0"}},
                     {}},
        DoseRuleCase{
            "CdeSum", {{"DDE", "1.1"}, {"CDE", "2.2"}, {"TODE", "3.3"}, {"TEDE", "1.1"}}, {}},
        DoseRuleCase{"CdeSumDiffers",
                     {{"DDE", "0.1"}, {"CDE", "0.2"}, {"TODE", "0.31"}, {"TEDE", "0.1"}},
                     {At(OptionKey::DCTSUM, E, kTode)}}),
    [](const ::testing::TestParamInfo<DoseRuleCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(DoseRulesTest, SwitchedOffRuleWritesAndCountsNothing) {
    fixture.options.set(OptionKey::HNCIR, 0);
    fixture.options.set(OptionKey::TGT5, 0);
    check({{"DDE", "6.0"}, {"TEDE", "6.0"}, {"TODE", "6.0"}});
    expect({At(OptionKey::DGT5, W, kDde)});
    fixture.options.set(OptionKey::DCSUM, 0);
    check({{"DDE", "0.1"}, {"CEDE", "0.2"}, {"TEDE", "0.31"}, {"TODE", "0.1"}});
    expect({});
}

TEST_F(DoseRulesTest, RuleOnAFieldTheLayoutLacksPointsNowhere) {
    fixture.layout(RecordType::Dose) =
        MakeLayout({{"Employee_ID", 9}, {"ID_Type", 3}, {"DDE", 18}, {"TODE", 18}});
    check({{"DDE", "0.5"}, {"TODE", "0.5"}});
    // TEDE is missing and reads as 0, so DDE + CEDE differs from it.
    expect({{OptionKey::DCSUM, E, 0, 0, "The sum of DDE and CEDE should equal TEDE"}});
}

struct IntakeCase {
    std::string_view name;
    std::string_view cede;
    std::vector<std::pair<std::int64_t, double>> intakes;  // (dose line, intake)
    std::vector<Expected> expected;
};

class IntakeCorrelationTest : public DoseRulesTest,
                              public ::testing::WithParamInterface<IntakeCase> {};

TEST_P(IntakeCorrelationTest, ComparesCedeWithTheIntakesOfTheRecord) {
    const IntakeCase& c = GetParam();
    for (const auto& [doseLine, intake] : c.intakes) addIntake(doseLine, intake);
    // TEDE equal to CEDE keeps the sum rule quiet.
    check({{"CEDE", c.cede}, {"TEDE", c.cede}});
    expect(c.expected);
}

constexpr std::int64_t kOwn = 10;
constexpr std::int64_t kOther = 4;

INSTANTIATE_TEST_SUITE_P(
    Intakes, IntakeCorrelationTest,
    ::testing::Values(IntakeCase{"CedeWithoutIntakes",
                                 "0.5",
                                 {},
                                 {At(OptionKey::HNCIR, W, kCede,
                                     "CEDE is > 0.0 yet has NO corresponding Intake Record")}},
                      IntakeCase{"CedeWithZeroIntakes",
                                 "0.5",
                                 {{kOwn, 0.0}, {kOwn, 0.0}},
                                 {At(OptionKey::HNCIR, E, kCede,
                                     "The total of Intakes is 0.0, yet CEDE is > 0.0")}},
                      IntakeCase{"CedeWithIntake", "0.5", {{kOwn, 0.2}}, {}},
                      IntakeCase{"IntakesOfAnotherRecordDoNotCount",
                                 "0.5",
                                 {{kOther, 0.2}},
                                 {At(OptionKey::HNCIR, W, kCede)}},
                      IntakeCase{"NoCedeWithIntake",
                                 "ND",
                                 {{kOwn, 0.3}},
                                 {At(OptionKey::CNIR, W, kCede,
                                     "CEDE is NOT > 0.0, yet has corresponding Intake Record(s)")}},
                      IntakeCase{
                          "NoCedeWithZeroIntake",
                          "ND",
                          {{kOwn, 0.0}},
                          {At(OptionKey::IRNN, W, kCede,
                              "Intake records are not necessary when CEDE is 0.0, ND, or NR")}},
                      IntakeCase{"NoCedeWithNegativeTotal",
                                 "0.0",
                                 {{kOwn, 0.2}, {kOwn, -0.3}},
                                 {At(OptionKey::IRNN, W, kCede)}},
                      IntakeCase{"NoCedeWithoutIntakes", "NR", {}, {}},
                      IntakeCase{"NegativeCede", "-0.5", {{kOwn, 0.3}}, {}}),
    [](const ::testing::TestParamInfo<IntakeCase>& info) { return std::string(info.param.name); });

TEST_F(DoseRulesTest, MissingIntakeRuleFollowsItsCode) {
    fixture.options.set(OptionKey::HNCIR, 0);
    check({{"CEDE", "0.5"}, {"TEDE", "0.5"}});
    expect({});
}

TEST_F(DoseRulesTest, UnneededIntakeRulesFollowTheirCodes) {
    addIntake(kOther, 0.0);  // file order: the earlier dose record's intakes come first
    addIntake(kOwn, 0.3);
    fixture.options.set(OptionKey::CNIR, 0);
    check({{"CEDE", "ND"}});
    expect({});
    fixture.options.set(OptionKey::IRNN, 0);
    fixture.run(RecordType::Dose, line, CheckDoseValues, kOther);
    expect({});
}

TEST_F(DoseRulesTest, IntakeCorrelationComesBeforeTheLimits) {
    check({{"CEDE", "6.0"}, {"CDE", "1.0"}, {"TODE", "1.0"}, {"TEDE", "6.0"}});
    expect({At(OptionKey::HNCIR, W, kCede), At(OptionKey::CGT5, W, kCede),
            At(OptionKey::TGT5, W, kTede)});
}

}  // namespace
}  // namespace talveron
