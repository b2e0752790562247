#include "engine/dose_rules.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

#include "engine/record_fixture.h"

namespace talveron {
namespace {

using testing::Expected;
using testing::FieldValues;
using testing::MakeLayout;
using testing::RecordFixture;

using enum OptionKey;
constexpr auto E = Level::Error;
constexpr auto W = Level::Warning;

TEST(DoseValueSyntaxTest, CodesBlanksAndWellFormedNumbersPass) {
    // The last character may be a code letter, the first only N.
    for (const char* value : {"NR", "ND", "NC", "", "  NR  ", "0.125", ".5", "5.", "5D", "N5"}) {
        EXPECT_EQ(DoseValueSyntax(value, OptionSettings::Defaults()), "") << value;
    }
}

TEST(DoseValueSyntaxTest, ReturnsTheLastApplicableMessageAndItsCode) {
    const auto expect = [](std::string_view value, std::string_view message, OptionKey code) {
        OptionKey given = GRF;
        EXPECT_EQ(DoseValueSyntax(value, OptionSettings::Defaults(), &given), message) << value;
        EXPECT_EQ(given, code) << value;
    };
    expect("1.2.3", "Invalid number of decimals in dose", INDD);
    expect(".5.", "Invalid number of decimals in dose", INDD);
    expect("1 2", "Embedded space found in dose value", ESDV);
    expect("X5", "Invalid character 'X' found in dose value", DVIC);
    expect("5X", "Invalid character 'X' found in dose value", DVIC);
    expect("X5Y", "Invalid character 'Y' found in dose value", DVIC);
    expect("D5", "Invalid character 'D' found in dose value", DVIC);
    expect("nd", "Invalid character 'd' found in dose value", DVIC);
    expect("X1.2.3 4", "Embedded space found in dose value", ESDV);
}

TEST(DoseValueSyntaxTest, SwitchedOffChecksGiveWayToEarlierOnes) {
    OptionSettings options = OptionSettings::Defaults();
    options.set(ESDV, 0);
    EXPECT_EQ(DoseValueSyntax("X1.2.3 4", options), "Invalid number of decimals in dose");
    options.set(INDD, 0);
    EXPECT_EQ(DoseValueSyntax("X1.2.3 4", options), "Invalid character 'X' found in dose value");
    options.set(DVIC, 0);
    EXPECT_EQ(DoseValueSyntax("X1.2.3 4", options), "");
}

/// Column and character of a dose field in the layout below.
using Place = std::pair<std::int32_t, std::int32_t>;
constexpr Place kCede{3, 15}, kCde{4, 34}, kTode{5, 53}, kDde{6, 72}, kTede{7, 91}, kLde{8, 110},
    kSdeWb{9, 129}, kSdeMe{10, 148};

Expected At(OptionKey code, Level level, Place place, std::string_view message = {}) {
    return {code, level, place.first, place.second, message};
}

/// The dose record under test is on line 10; intakes of another record are linked to line 4.
constexpr std::int64_t kOwn = 10;
constexpr std::int64_t kOther = 4;
using Intakes = std::vector<std::pair<std::int64_t, double>>;  // (dose line, intake)

class DoseRulesTest : public ::testing::Test {
protected:
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

    /// Runs the dose rules on a record of these values with only these intakes registered and
    /// every check on but `off`; expects exactly these findings.
    void expect(const FieldValues& values, const std::vector<Expected>& expected,
                const Intakes& intakes = {}) {
        fixture.doses.clear();
        for (const auto& [line, amount] : intakes)
            fixture.doses.addIntake({line, line + 1, amount});
        fixture.switchOff(off);
        fixture.check(RecordType::Dose, values, CheckDoseValues, kOwn);
        fixture.expect(expected);
    }

    RecordFixture fixture;
    std::vector<OptionKey> off;
};

TEST_F(DoseRulesTest, LimitsNcRulesAndSums) {
    off = {HNCIR};  // no intakes: the correlation is tested below
    expect({}, {});
    // The limits are exceeded only above them; CDE must be a dose only when CEDE is above 1.0.
    expect({{"DDE", "4.0"}, {"CEDE", "1.0"}, {"TEDE", "5.0"}, {"CDE", "NR"}, {"TODE", "4.0"}}, {});
    expect({{"LDE", "15.0"}, {"SDE_WB", "50.0"}, {"SDE_ME", "50.0"}}, {});
    expect({{"DDE", "4.0"}, {"CEDE", "1.001"}, {"TEDE", "5.001"}, {"CDE", "0.1"}, {"TODE", "4.1"}},
           {At(TGT5, W, kTede, "TEDE is > 5.0")});
    expect({{"LDE", "15.01"}, {"SDE_WB", "50.1"}, {"SDE_ME", "50.1"}},
           {At(LGT15, W, kLde, "LDE is > 15.0"), At(SGT50, W, kSdeMe, "SDE_ME is > 50.0"),
            At(SWB50, W, kSdeWb, "SDE_WB is > 50.0")});
    expect({{"CEDE", "1.2"}, {"CDE", "ND"}, {"TEDE", "1.2"}},
           {At(CDEN, E, kCde, "When CEDE > 1.0  CDE must be > 0.0 and NOT 'NC','ND', or 'NR'")});
    expect({{"CEDE", "1.2"}, {"CDE", "0.5"}, {"TODE", "0.5"}, {"TEDE", "1.2"}}, {});
    expect({{"DDE", "5.5"}, {"TEDE", "5.5"}, {"TODE", "5.5"}},
           {At(DGT5, W, kDde, "DDE is > 5.0"), At(TGT5, W, kTede)});
    expect({{"CDE", "60.0"}, {"TODE", "60.0"}}, {At(TOGT50, W, kTode, "TODE is > 50.0")});
    // CDE and TODE not collected: no CDE sum.
    expect({{"CDE", "NC"}, {"TODE", "NC"}, {"DDE", "0.5"}, {"TEDE", "0.5"}}, {});
    expect({{"CDE", "NC"}, {"TODE", "ND"}},
           {At(CTODE, E, kCde, "If CDE is 'NC' then TODE must also be 'NC' and visa versa")});
    expect({{"CDE", "60.0"}, {"TODE", "NC"}},
           {At(CTODE, E, kCde), At(CGT50, W, kCde, "CDE is > 50.0"),
            At(DCTSUM, E, kTode, "The sum of DDE and CDE should equal TODE")});
    expect(
        {{"CEDE", "NC"}, {"LDE", "NC"}, {"DDE", "NC"}, {"SDE_ME", "NC"}, {"SDE_WB", "NC"}},
        {At(NCNTO, E, kCede, "'NC' for CEDE invalid. 'NC' is only valid for CDE & TODE doses"),
         At(NCLDE, E, kLde, "'NC' for LDE is invalid. 'NC' is only valid for CDE & TODE doses"),
         At(NCDDE, E, kDde, "'NC' for DDE is invalid 'NC' is only valid for CDE & TODE doses"),
         At(NSDE, E, kSdeMe, "'NC' for SDE_ME is invalid. 'NC' is only valid for CDE & TODE doses"),
         At(SNC, E, kSdeWb, "'NC' for SDE_WB is invalid 'NC' is only valid for CDE & TODE doses")});
    // A TEDE not collected is still summed.
    expect({{"TEDE", "NC"}, {"DDE", "0.5"}, {"TODE", "0.5"}},
           {At(TNC, E, kTede, "'NC' for TEDE is invalid 'NC' is only valid for CDE & TODE doses"),
            At(DCSUM, E, kTede, "The sum of DDE and CEDE should equal TEDE")});
}

TEST_F(DoseRulesTest, SumsCompareFifteenSignificantDigits) {
    off = {HNCIR};
    expect({{"DDE", "0.1"}, {"CEDE", "0.2"}, {"TEDE", "0.3"}, {"TODE", "0.1"}}, {});
    expect({{"DDE", "0.1"}, {"CEDE", "0.2"}, {"TEDE", "0.31"}, {"TODE", "0.1"}},
           {At(DCSUM, E, kTede)});
    expect({{"DDE", "ND"}, {"CEDE", "NR"}, {"TEDE", "ND"}}, {});
    expect({{"DDE", "1.000000000000001"}, {"TEDE", "1"}, {"TODE", "1"}}, {});
    expect({{"DDE", "1"}, {"TEDE", "1.00000000000001"}, {"TODE", "1"}}, {At(DCSUM, E, kTede)});
    expect({{"DDE", "-0"}, {"CEDE", "-0"}, {"CDE", "-0"}, {"TEDE", "0"}, {"TODE", "0"}}, {});
    expect({{"DDE", "1.1"}, {"CDE", "2.2"}, {"TODE", "3.3"}, {"TEDE", "1.1"}}, {});
    expect({{"DDE", "0.1"}, {"CDE", "0.2"}, {"TODE", "0.31"}, {"TEDE", "0.1"}},
           {At(DCTSUM, E, kTode)});
}

TEST_F(DoseRulesTest, SwitchedOffRulesWriteAndCountNothing) {
    off = {HNCIR, TGT5};
    expect({{"DDE", "6.0"}, {"TEDE", "6.0"}, {"TODE", "6.0"}}, {At(DGT5, W, kDde)});
    off = {HNCIR, DCSUM};
    expect({{"DDE", "0.1"}, {"CEDE", "0.2"}, {"TEDE", "0.31"}, {"TODE", "0.1"}}, {});
}

TEST_F(DoseRulesTest, ARuleOnAFieldTheLayoutLacksPointsNowhere) {
    fixture.layout(RecordType::Dose) =
        MakeLayout({{"Employee_ID", 9}, {"ID_Type", 3}, {"DDE", 18}, {"TODE", 18}});
    // TEDE is missing and reads as 0, so DDE + CEDE differs from it.
    expect({{"DDE", "0.5"}, {"TODE", "0.5"}},
           {{DCSUM, E, 0, 0, "The sum of DDE and CEDE should equal TEDE"}});
}

TEST_F(DoseRulesTest, CedeIsComparedWithTheIntakesOfItsOwnRecord) {
    // TEDE equal to CEDE keeps the sum rule quiet.
    const auto cede = [this](std::string_view value, const Intakes& intakes,
                             const std::vector<Expected>& expected) {
        expect({{"CEDE", value}, {"TEDE", value}}, expected, intakes);
    };
    cede("0.5", {}, {At(HNCIR, W, kCede, "CEDE is > 0.0 yet has NO corresponding Intake Record")});
    cede("0.5", {{kOwn, 0.0}, {kOwn, 0.0}},
         {At(HNCIR, E, kCede, "The total of Intakes is 0.0, yet CEDE is > 0.0")});
    cede("0.5", {{kOwn, 0.2}}, {});
    cede("0.5", {{kOther, 0.2}}, {At(HNCIR, W, kCede)});
    cede("ND", {{kOwn, 0.3}},
         {At(CNIR, W, kCede, "CEDE is NOT > 0.0, yet has corresponding Intake Record(s)")});
    cede("ND", {{kOwn, 0.0}},
         {At(IRNN, W, kCede, "Intake records are not necessary when CEDE is 0.0, ND, or NR")});
    cede("0.0", {{kOwn, 0.2}, {kOwn, -0.3}}, {At(IRNN, W, kCede)});
    cede("NR", {}, {});
    cede("-0.5", {{kOwn, 0.3}}, {});
    // The correlation comes before the limits; a blank CDE is no dose.
    cede("6.0", {},
         {At(HNCIR, W, kCede), At(CDEN, E, kCde), At(CGT5, W, kCede, "CEDE is > 5.0"),
          At(TGT5, W, kTede)});
    off = {HNCIR};
    cede("0.5", {}, {});
    off = {CNIR};
    cede("ND", {{kOwn, 0.3}}, {});
    off = {IRNN};
    cede("ND", {{kOwn, 0.0}}, {});
}

}  // namespace
}  // namespace talveron
