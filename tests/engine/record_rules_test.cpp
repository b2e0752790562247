#include "engine/record_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/date_value.h"
#include "engine/dose_register.h"
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

// Dose layout: Employee_ID 1, ID_Type 13, Birth_Date 17 (field 3), Monitoring_Start 28,
// Monitoring_End 37 (field 5), First_Name 46, Last_Name 57 (field 7).
// Intake layout: Pad 1, Employee_ID 6, ID_Type 18, Class 22, Mode 25 (field 5).
const Expected kStartAfterEnd{SDBED, E, 5, 37,
                              "Monitoring start date must be before monitoring end date"};
const Expected kBornAfter1999{BDay, E, 3, 17, "Birthdate year must not be later than 1999"};
const Expected kBornInPeriod{BDAMP, E, 3, 17,
                             "The employees birthdate is after the start of the monitoring period"};
const Expected kPeriodTooLong{MPGT, E, 5, 37, "Monitoring period is greater than 13 months"};
const Expected kHNeedsHClass{MODH, E, 5, 25,
                             "Classes must be 'D','F','M','O','S','V','W' and 'Y' for Mode 'H'"};
const Expected kHClassNeedsH{MODH, E, 5, 25,
                             "Mode must be 'H' for Classes 'D','F','M','O','S','V','W' or 'Y'"};
const Expected kGNeedsGClass{MODG, E, 5, 25, "For Mode 'G' Classes must be ' '(blank) or 'G'"};
const Expected kGClassNeedsG{MODG, E, 5, 25, "Mode must be 'G' for Classes ' '(blank) or 'G'"};

class RecordRulesTest : public ::testing::Test {
protected:
    RecordRulesTest() {
        fixture.layout(RecordType::Dose) = MakeLayout({{"Employee_ID", 11},
                                                       {"ID_Type", 3},
                                                       {"Birth_Date", 10},
                                                       {"Monitoring_Start", 8},
                                                       {"Monitoring_End", 8},
                                                       {"First_Name", 10},
                                                       {"Last_Name", 12}});
        fixture.layout(RecordType::Intake) = MakeLayout(
            {{"Pad", 4}, {"Employee_ID", 11}, {"ID_Type", 3}, {"Class", 2}, {"Mode", 1}});
        fixture.layout(RecordType::Comment) =
            MakeLayout({{"ID_Type", 3}, {"Employee_ID", 11}, {"Text", 20}});
    }

    /// Runs the check on a record of these values with every check on but `off`; expects
    /// exactly these findings.
    template <class Check>
    void expect(Check check, RecordType type, const FieldValues& values,
                const std::vector<Expected>& expected, const std::vector<OptionKey>& off = {}) {
        fixture.switchOff(off);
        fixture.check(type, values, check);
        fixture.expect(expected);
    }

    void dates(std::string_view birth, std::string_view start, std::string_view end,
               const std::vector<Expected>& expected, const std::vector<OptionKey>& off = {}) {
        expect(CheckDates, RecordType::Dose,
               {{"Birth_Date", birth}, {"Monitoring_Start", start}, {"Monitoring_End", end}},
               expected, off);
    }

    RecordFixture fixture;
};

TEST_F(RecordRulesTest, DatesAreCheckedForOrderBirthAndLength) {
    dates("19700101", "20031231", "20031231", {});
    dates("19700101", "20031231", "20030101", {kStartAfterEnd});
    // 397 days are 13 months; 398 are more, also over a leap day.
    dates("19700101", "20030101", "20040202", {});
    dates("19700101", "20030101", "20040203", {kPeriodTooLong});
    dates("19700101", "20040101", "20050202", {kPeriodTooLong});
    dates("19991231", "20030101", "20031231", {});
    dates("20000101", "20030101", "20031231", {kBornAfter1999});
    dates("20030102", "20030101", "20031231", {kBornAfter1999, kBornInPeriod});
    dates("19700101", "19700101", "19701231", {});
    dates("19700601", "19701231", "19700101", {kStartAfterEnd, kBornInPeriod});
    // A blank start reads as 0; the period has no calendar start, so no length test.
    dates("19700101", "", "20031231", {kBornInPeriod});
    dates("19700101", "20030101", "20041399", {});
    // Date numbers are rounded half to even: 20030102.5 reads as 20030102.
    dates("20030102.5", "20030102", "20030131", {kBornAfter1999});
    dates("20030102", "20030101", "20040203", {kBornInPeriod}, {MPGT, BDay});
}

TEST_F(RecordRulesTest, ADateRuleOnAFieldTheLayoutLacksPointsNowhere) {
    fixture.layout(RecordType::Dose) = MakeLayout(
        {{"Employee_ID", 11}, {"ID_Type", 3}, {"Birth_Date", 10}, {"Monitoring_Start", 8}});
    // The missing end reads as 0: the start lies after it and so does the birth date.
    expect(CheckDates, RecordType::Dose,
           {{"Birth_Date", "19700101"}, {"Monitoring_Start", "20030101"}},
           {{SDBED, E, 0, 0}, {BDAMP, E, 3, 17}});
}

struct PeriodRecord {
    std::string_view id;
    std::string_view start;
    std::string_view end;
    std::string_view idType = "SSN";
};

class MonitoringPeriodTest : public RecordRulesTest {
protected:
    /// Registers the records as the registration pass does, then checks each one.
    void expectPasses(const std::vector<PeriodRecord>& records, const std::vector<bool>& passes) {
        const auto days = [this](std::string_view date) {
            return static_cast<std::int32_t>(DayNumber(date, fixture.runStart));
        };
        fixture.doses.clear();
        for (const PeriodRecord& r : records) {
            fixture.doses.addDose({MakePersonKey(r.idType, r.id), days(r.start), days(r.end), 0.0});
        }
        fixture.doses.buildIndex();
        std::vector<bool> actual;
        for (const PeriodRecord& r : records) {
            const FieldValues values{{"ID_Type", r.idType},
                                     {"Employee_ID", r.id},
                                     {"Monitoring_Start", r.start},
                                     {"Monitoring_End", r.end}};
            fixture.check(RecordType::Dose, values, CheckSingleMonitoringPeriod);
            actual.push_back(fixture.sink.findings.empty());
        }
        EXPECT_EQ(actual, passes);
    }
};

TEST_F(MonitoringPeriodTest, ARecordFailsWhenItsPeriodHoldsADateOfAnotherOfThePerson) {
    expectPasses({{"1", "20030101", "20031231"}}, {true});
    expectPasses({{"1", "20030101", "20030630"}, {"1", "20030701", "20031231"}}, {true, true});
    expectPasses({{"1", "20030101", "20030630"}, {"1", "20030615", "20031231"}}, {false, false});
    // A shared boundary day counts.
    expectPasses({{"1", "20030101", "20030630"}, {"1", "20030630", "20031231"}}, {false, false});
    // An enclosed period fails only the enclosing record.
    expectPasses({{"1", "20030101", "20031231"}, {"1", "20030301", "20030331"}}, {false, true});
    expectPasses({{"1", "20030101", "20031231"}, {"1", "20030101", "20031231"}}, {false, false});
    expectPasses({{"1", "20030101", "20031231"}, {"2", "20030101", "20031231"}}, {true, true});
    expectPasses({{"1", "20030101", "20031231"}, {"1", "20030101", "20031231", "PPN"}},
                 {true, true});
    // Start after end: an empty period holds nothing, and its dates lie outside the other.
    expectPasses({{"1", "20031231", "20030101"}, {"1", "20030601", "20030630"}}, {true, true});
}

TEST_F(MonitoringPeriodTest, ThePersonKeyIsFormedByFieldName) {
    // ID_Type first: a key taken by position would read the identifier as the type.
    fixture.layout(RecordType::Dose) = MakeLayout(
        {{"ID_Type", 3}, {"Employee_ID", 11}, {"Monitoring_Start", 8}, {"Monitoring_End", 8}});
    expectPasses({{"1", "20030101", "20030630"}, {"1", "20030615", "20031231"}}, {false, false});
}

TEST_F(RecordRulesTest, EveryNonDigitOfAnSsnIsReported) {
    const auto ssn = [this](RecordType type, std::string_view idType, std::string_view id,
                            const std::vector<Expected>& expected,
                            const std::vector<OptionKey>& off = {}) {
        expect(CheckSsn, type, {{"ID_Type", idType}, {"Employee_ID", id}}, expected, off);
    };
    ssn(RecordType::Dose, "SSN", "123456789", {});
    ssn(RecordType::Dose, "SSN", "12345678X",
        {{SSNNN, E, 1, 9, "Employee_ID of type 'SSN' contains non-numeric character"}});
    ssn(RecordType::Dose, "SSN", "123-45-6789", {{SSNNN, E, 1, 4}, {SSNNN, E, 1, 7}});
    ssn(RecordType::Dose, "ssn", "12345678X", {});
    ssn(RecordType::Dose, "EMP", "12345678X", {});
    // Leading blanks are trimmed away before positions are counted.
    ssn(RecordType::Dose, "SSN", "  12A", {{SSNNN, E, 1, 3}});
    // Intake and comment records use their own layouts' fields.
    ssn(RecordType::Intake, "SSN", "1234X", {{SSNNN, E, 2, 10}});
    ssn(RecordType::Comment, "SSN", "A1", {{SSNNN, E, 2, 5}});
    ssn(RecordType::Dose, "SSN", "123-45-6789", {}, {SSNNN});
}

TEST_F(RecordRulesTest, AnSsnFindingPointsAtOneCharacter) {
    fixture.check(RecordType::Dose, {{"ID_Type", "SSN"}, {"Employee_ID", "12345678X"}}, CheckSsn);
    ASSERT_EQ(fixture.sink.findings.size(), 1u);
    EXPECT_EQ(fixture.sink.findings[0].spanFirst, 9);
    EXPECT_EQ(fixture.sink.findings[0].spanLast, 9);
}

TEST_F(RecordRulesTest, TestOrTrainingNamesGiveOneWarning) {
    // It points just before the last name.
    const std::vector<Expected> warning{
        {NAMFLD, W, 7, 56, "Employee First or Last Name field may contain test information"}};
    const auto names = [this](std::string_view first, std::string_view last,
                              const std::vector<Expected>& expected) {
        expect(CheckTestNames, RecordType::Dose, {{"First_Name", first}, {"Last_Name", last}},
               expected);
    };
    names("Attest", "Smith", warning);
    names("John", "Trainor", warning);
    names("Test", "Train", warning);
    names("test", "", warning);
    names("", "tRaIn", warning);
    names("Tes T", "Trai", {});
    names("John", "Smith", {});
    expect(CheckTestNames, RecordType::Dose, {{"First_Name", "TEST"}}, {}, {NAMFLD});
}

TEST_F(RecordRulesTest, ATestNameWithoutALastNameFieldPointsNowhere) {
    fixture.layout(RecordType::Dose) =
        MakeLayout({{"Employee_ID", 11}, {"ID_Type", 3}, {"First_Name", 10}});
    expect(CheckTestNames, RecordType::Dose, {{"First_Name", "TESTER"}}, {{NAMFLD, W, 0, 0}});
}

TEST_F(RecordRulesTest, ClassAndModeMustMatch) {
    const auto classMode = [this](std::string_view classText, std::string_view mode,
                                  const std::vector<Expected>& expected,
                                  const std::vector<OptionKey>& off = {}) {
        expect(CheckClassMode, RecordType::Intake, {{"Class", classText}, {"Mode", mode}}, expected,
               off);
    };
    classMode("D", "H", {});
    classMode("M", "H", {});
    classMode("SY", "H", {});  // a piece of the H classes
    classMode("DS", "H", {kHNeedsHClass});
    classMode("d", "H", {kHNeedsHClass});
    classMode("", "H", {kHNeedsHClass, kGClassNeedsG});
    classMode("G", "H", {kHNeedsHClass, kGClassNeedsG});
    classMode("D", "G", {kHClassNeedsH, kGNeedsGClass});
    classMode("", "G", {});
    classMode("G", "G", {});
    classMode("X", "G", {kGNeedsGClass});
    classMode("X", "X", {});
    classMode("", "", {kGClassNeedsG});
    classMode("", "H", {kGClassNeedsG}, {MODH});
    classMode("", "H", {kHNeedsHClass}, {MODG});
}

}  // namespace
}  // namespace talveron
