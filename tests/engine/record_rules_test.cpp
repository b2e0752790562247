#include "engine/record_rules.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/date_value.h"
#include "engine/dose_register.h"
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

// Dose layout: Employee_ID 1, ID_Type 13, Birth_Date 17, Monitoring_Start 28, Monitoring_End 37,
// First_Name 46, Last_Name 57.
constexpr std::int32_t kBirthColumn = 3, kBirthStart = 17;
constexpr std::int32_t kEndColumn = 5, kEndStart = 37;
constexpr std::int32_t kLastNameColumn = 7, kLastNameStart = 57;

// Intake layout: Pad 1, Employee_ID 6, ID_Type 18, Class 22, Mode 25.
constexpr std::int32_t kModeColumn = 5, kModeStart = 25;

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

    template <class Check>
    auto run(RecordType type, const FieldValues& values, Check check) {
        fixture.sink.findings.clear();
        line = fixture.line(type, values);
        return fixture.run(type, line, check);
    }

    void expect(const std::vector<Expected>& expected) {
        ExpectFindings(fixture.sink.findings, fixture.lastCounts, expected);
    }

    RecordFixture fixture;
    std::string line;
};

// ---------------------------------------------------------------------------------------------
// CheckDates

struct DatesCase {
    std::string_view name;
    std::string_view birth;
    std::string_view start;
    std::string_view end;
    std::vector<Expected> expected;
};

class DatesTest : public RecordRulesTest, public ::testing::WithParamInterface<DatesCase> {};

TEST_P(DatesTest, ChecksOrderBirthAndLength) {
    const DatesCase& c = GetParam();
    run(RecordType::Dose,
        {{"Birth_Date", c.birth}, {"Monitoring_Start", c.start}, {"Monitoring_End", c.end}},
        CheckDates);
    expect(c.expected);
}

const Expected kStartAfterEnd{OptionKey::SDBED, E, kEndColumn, kEndStart,
                              "Monitoring start date must be before monitoring end date"};
const Expected kBornAfter1999{OptionKey::BDay, E, kBirthColumn, kBirthStart,
                              "Birthdate year must not be later than 1999"};
const Expected kBornInPeriod{OptionKey::BDAMP, E, kBirthColumn, kBirthStart,
                             "The employees birthdate is after the start of the monitoring period"};
const Expected kPeriodTooLong{OptionKey::MPGT, E, kEndColumn, kEndStart,
                              "Monitoring period is greater than 13 months"};

INSTANTIATE_TEST_SUITE_P(
    Dates, DatesTest,
    ::testing::Values(
        DatesCase{"OneYear", "19700101", "20030101", "20031231", {}},
        DatesCase{"OneDay", "19700101", "20031231", "20031231", {}},
        DatesCase{"StartAfterEnd", "19700101", "20031231", "20030101", {kStartAfterEnd}},
        DatesCase{"ThreeHundredNinetySevenDays", "19700101", "20030101", "20040202", {}},
        DatesCase{
            "ThreeHundredNinetyEightDays", "19700101", "20030101", "20040203", {kPeriodTooLong}},
        DatesCase{"LongPeriodOverLeapDay", "19700101", "20040101", "20050202", {kPeriodTooLong}},
        DatesCase{"BornLastDayOf1999", "19991231", "20030101", "20031231", {}},
        DatesCase{"Born2000", "20000101", "20030101", "20031231", {kBornAfter1999}},
        DatesCase{
            "BornAfterStart", "20030102", "20030101", "20031231", {kBornAfter1999, kBornInPeriod}},
        DatesCase{"BornOnStart", "19700101", "19700101", "19701231", {}},
        DatesCase{"BornAfterEndOfReversedPeriod",
                  "19700601",
                  "19701231",
                  "19700101",
                  {kStartAfterEnd, kBornInPeriod}},
        // A blank start reads as 0; the period has no calendar start, so no length test.
        DatesCase{"BlankStart", "19700101", "", "20031231", {kBornInPeriod}},
        DatesCase{"EndNoCalendarDay", "19700101", "20030101", "20041399", {}},
        // Date numbers are rounded half to even: 20030102.5 reads as 20030102.
        DatesCase{
            "DateNumberRoundedHalfToEven", "20030102.5", "20030102", "20030131", {kBornAfter1999}}),
    [](const ::testing::TestParamInfo<DatesCase>& info) { return std::string(info.param.name); });

TEST_F(RecordRulesTest, SwitchedOffDateRuleWritesAndCountsNothing) {
    fixture.options.set(OptionKey::MPGT, 0);
    fixture.options.set(OptionKey::BDay, 0);
    run(RecordType::Dose,
        {{"Birth_Date", "20030102"},
         {"Monitoring_Start", "20030101"},
         {"Monitoring_End", "20040203"}},
        CheckDates);
    expect({kBornInPeriod});
}

TEST_F(RecordRulesTest, DateRuleOnAFieldTheLayoutLacksPointsNowhere) {
    fixture.layout(RecordType::Dose) = MakeLayout(
        {{"Employee_ID", 11}, {"ID_Type", 3}, {"Birth_Date", 10}, {"Monitoring_Start", 8}});
    run(RecordType::Dose, {{"Birth_Date", "19700101"}, {"Monitoring_Start", "20030101"}},
        CheckDates);
    // The missing end reads as 0: the start lies after it and so does the birth date.
    expect({{OptionKey::SDBED, E, 0, 0}, {OptionKey::BDAMP, E, kBirthColumn, kBirthStart}});
}

// ---------------------------------------------------------------------------------------------
// CheckSingleMonitoringPeriod

struct PeriodRecord {
    std::string_view idType;
    std::string_view id;
    std::string_view start;
    std::string_view end;
};

struct PeriodCase {
    std::string_view name;
    std::vector<PeriodRecord> records;
    std::vector<bool> passes;
};

class MonitoringPeriodTest : public RecordRulesTest {
  protected:
    /// Registers every record as the registration pass does, then checks each one.
    std::vector<bool> checkAll(const std::vector<PeriodRecord>& records) {
        for (const PeriodRecord& r : records) {
            fixture.doses.addDose({MakePersonKey(r.idType, r.id),
                                   static_cast<std::int32_t>(DayNumber(r.start, fixture.runStart)),
                                   static_cast<std::int32_t>(DayNumber(r.end, fixture.runStart)),
                                   0.0});
        }
        fixture.doses.buildIndex();
        std::vector<bool> passes;
        for (const PeriodRecord& r : records) {
            passes.push_back(run(RecordType::Dose,
                                 {{"ID_Type", r.idType},
                                  {"Employee_ID", r.id},
                                  {"Monitoring_Start", r.start},
                                  {"Monitoring_End", r.end}},
                                 CheckSingleMonitoringPeriod));
        }
        return passes;
    }
};

class SingleMonitoringPeriodTest : public MonitoringPeriodTest,
                                   public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(SingleMonitoringPeriodTest, FailsARecordWhosePeriodHoldsAnotherRecordsDate) {
    const PeriodCase& c = GetParam();
    EXPECT_EQ(checkAll(c.records), c.passes);
}

INSTANTIATE_TEST_SUITE_P(
    Periods, SingleMonitoringPeriodTest,
    ::testing::Values(
        PeriodCase{"OneRecord", {{"SSN", "123456789", "20030101", "20031231"}}, {true}},
        PeriodCase{"ConsecutiveHalves",
                   {{"SSN", "123456789", "20030101", "20030630"},
                    {"SSN", "123456789", "20030701", "20031231"}},
                   {true, true}},
        PeriodCase{"OverlappingHalves",
                   {{"SSN", "123456789", "20030101", "20030630"},
                    {"SSN", "123456789", "20030615", "20031231"}},
                   {false, false}},
        PeriodCase{"SharedBoundaryDay",
                   {{"SSN", "123456789", "20030101", "20030630"},
                    {"SSN", "123456789", "20030630", "20031231"}},
                   {false, false}},
        PeriodCase{"EnclosedPeriodFailsOnlyTheEnclosingRecord",
                   {{"SSN", "123456789", "20030101", "20031231"},
                    {"SSN", "123456789", "20030301", "20030331"}},
                   {false, true}},
        PeriodCase{"SamePeriodTwice",
                   {{"SSN", "123456789", "20030101", "20031231"},
                    {"SSN", "123456789", "20030101", "20031231"}},
                   {false, false}},
        PeriodCase{"DifferentPersons",
                   {{"SSN", "123456789", "20030101", "20031231"},
                    {"SSN", "987654321", "20030101", "20031231"}},
                   {true, true}},
        PeriodCase{"DifferentIdTypes",
                   {{"SSN", "123456789", "20030101", "20031231"},
                    {"PPN", "123456789", "20030101", "20031231"}},
                   {true, true}},
        // Start after end: an empty period holds nothing, and its dates lie outside the other.
        PeriodCase{"ReversedPeriod",
                   {{"SSN", "123456789", "20031231", "20030101"},
                    {"SSN", "123456789", "20030601", "20030630"}},
                   {true, true}}),
    [](const ::testing::TestParamInfo<PeriodCase>& info) { return std::string(info.param.name); });

TEST_F(MonitoringPeriodTest, PersonKeyIsFormedByFieldName) {
    // ID_Type first: a key taken by position would read the identifier as the type.
    fixture.layout(RecordType::Dose) = MakeLayout(
        {{"ID_Type", 3}, {"Employee_ID", 11}, {"Monitoring_Start", 8}, {"Monitoring_End", 8}});
    EXPECT_EQ(checkAll({{"SSN", "123456789", "20030101", "20030630"},
                        {"SSN", "123456789", "20030615", "20031231"}}),
              (std::vector<bool>{false, false}));
}

// ---------------------------------------------------------------------------------------------
// CheckSsn

constexpr std::string_view kSsnMessage = "Employee_ID of type 'SSN' contains non-numeric character";

struct SsnCase {
    std::string_view name;
    RecordType type;
    std::string_view idType;
    std::string_view id;
    std::vector<Expected> expected;
};

class SsnTest : public RecordRulesTest, public ::testing::WithParamInterface<SsnCase> {};

TEST_P(SsnTest, ReportsEveryNonDigitOfAnSsn) {
    const SsnCase& c = GetParam();
    run(c.type, {{"ID_Type", c.idType}, {"Employee_ID", c.id}}, CheckSsn);
    expect(c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, SsnTest,
    ::testing::Values(
        SsnCase{"Digits", RecordType::Dose, "SSN", "123456789", {}},
        SsnCase{"LetterAtTheEnd",
                RecordType::Dose,
                "SSN",
                "12345678X",
                {{OptionKey::SSNNN, E, 1, 9, kSsnMessage}}},
        SsnCase{"TwoHyphens",
                RecordType::Dose,
                "SSN",
                "123-45-6789",
                {{OptionKey::SSNNN, E, 1, 4}, {OptionKey::SSNNN, E, 1, 7}}},
        SsnCase{"LowerCaseType", RecordType::Dose, "ssn", "12345678X", {}},
        SsnCase{"OtherType", RecordType::Dose, "EMP", "12345678X", {}},
        // Intake and comment records use their own layouts' fields.
        SsnCase{"IntakeRecord", RecordType::Intake, "SSN", "1234X", {{OptionKey::SSNNN, E, 2, 10}}},
        SsnCase{"CommentRecord", RecordType::Comment, "SSN", "A1", {{OptionKey::SSNNN, E, 2, 5}}}),
    [](const ::testing::TestParamInfo<SsnCase>& info) { return std::string(info.param.name); });

TEST_F(RecordRulesTest, SsnFindingPointsAtOneCharacter) {
    run(RecordType::Dose, {{"ID_Type", "SSN"}, {"Employee_ID", "12345678X"}}, CheckSsn);
    ASSERT_EQ(fixture.sink.findings.size(), 1u);
    EXPECT_EQ(fixture.sink.findings[0].spanFirst, 9);
    EXPECT_EQ(fixture.sink.findings[0].spanLast, 9);
}

TEST_F(RecordRulesTest, SsnPositionsCountInTheTrimmedIdentifier) {
    // Leading blanks are trimmed away before positions are counted.
    run(RecordType::Dose, {{"ID_Type", "SSN"}, {"Employee_ID", "  12A"}}, CheckSsn);
    expect({{OptionKey::SSNNN, E, 1, 3}});
}

TEST_F(RecordRulesTest, SwitchedOffSsnCheckWritesAndCountsNothing) {
    fixture.options.set(OptionKey::SSNNN, 0);
    run(RecordType::Dose, {{"ID_Type", "SSN"}, {"Employee_ID", "123-45-6789"}}, CheckSsn);
    expect({});
}

// ---------------------------------------------------------------------------------------------
// CheckTestNames

struct NamesCase {
    std::string_view first;
    std::string_view last;
    bool warns;
};

class TestNamesTest : public RecordRulesTest, public ::testing::WithParamInterface<NamesCase> {};

TEST_P(TestNamesTest, WarnsOnceAboutTestOrTrainingNames) {
    const NamesCase& c = GetParam();
    run(RecordType::Dose, {{"First_Name", c.first}, {"Last_Name", c.last}}, CheckTestNames);
    if (c.warns) {
        expect({{OptionKey::NAMFLD, W, kLastNameColumn, kLastNameStart - 1,
                 "Employee First or Last Name field may contain test information"}});
    } else {
        expect({});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, TestNamesTest,
    ::testing::Values(NamesCase{"Attest", "Smith", true}, NamesCase{"John", "Trainor", true},
                      NamesCase{"Test", "Train", true}, NamesCase{"test", "", true},
                      NamesCase{"", "tRaIn", true}, NamesCase{"Tes T", "Trai", false},
                      NamesCase{"John", "Smith", false}));

TEST_F(RecordRulesTest, TestNameWithoutALastNameFieldPointsNowhere) {
    fixture.layout(RecordType::Dose) =
        MakeLayout({{"Employee_ID", 11}, {"ID_Type", 3}, {"First_Name", 10}});
    run(RecordType::Dose, {{"First_Name", "TESTER"}}, CheckTestNames);
    expect({{OptionKey::NAMFLD, W, 0, 0}});
}

TEST_F(RecordRulesTest, SwitchedOffTestNameCheckWritesAndCountsNothing) {
    fixture.options.set(OptionKey::NAMFLD, 0);
    run(RecordType::Dose, {{"First_Name", "TEST"}}, CheckTestNames);
    expect({});
}

// ---------------------------------------------------------------------------------------------
// CheckClassMode

const Expected kHNeedsHClass{OptionKey::MODH, E, kModeColumn, kModeStart,
                             "Classes must be 'D','F','M','O','S','V','W' and 'Y' for Mode 'H'"};
const Expected kHClassNeedsH{OptionKey::MODH, E, kModeColumn, kModeStart,
                             "Mode must be 'H' for Classes 'D','F','M','O','S','V','W' or 'Y'"};
const Expected kGNeedsGClass{OptionKey::MODG, E, kModeColumn, kModeStart,
                             "For Mode 'G' Classes must be ' '(blank) or 'G'"};
const Expected kGClassNeedsG{OptionKey::MODG, E, kModeColumn, kModeStart,
                             "Mode must be 'G' for Classes ' '(blank) or 'G'"};

struct ClassModeCase {
    std::string_view classText;
    std::string_view mode;
    std::vector<Expected> expected;
};

class ClassModeTest : public RecordRulesTest,
                      public ::testing::WithParamInterface<ClassModeCase> {};

TEST_P(ClassModeTest, ChecksTheCombination) {
    const ClassModeCase& c = GetParam();
    run(RecordType::Intake, {{"Class", c.classText}, {"Mode", c.mode}}, CheckClassMode);
    expect(c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, ClassModeTest,
    ::testing::Values(ClassModeCase{"D", "H", {}}, ClassModeCase{"M", "H", {}},
                      ClassModeCase{"SY", "H", {}},  // a piece of the H classes
                      ClassModeCase{"DS", "H", {kHNeedsHClass}},
                      ClassModeCase{"d", "H", {kHNeedsHClass}},
                      ClassModeCase{"", "H", {kHNeedsHClass, kGClassNeedsG}},
                      ClassModeCase{"G", "H", {kHNeedsHClass, kGClassNeedsG}},
                      ClassModeCase{"D", "G", {kHClassNeedsH, kGNeedsGClass}},
                      ClassModeCase{"", "G", {}}, ClassModeCase{"G", "G", {}},
                      ClassModeCase{"X", "G", {kGNeedsGClass}}, ClassModeCase{"X", "X", {}},
                      ClassModeCase{"", "", {kGClassNeedsG}}));

TEST_F(RecordRulesTest, SwitchedOffClassModeChecksWriteAndCountNothing) {
    fixture.options.set(OptionKey::MODH, 0);
    run(RecordType::Intake, {{"Mode", "H"}}, CheckClassMode);
    expect({kGClassNeedsG});
    fixture.options.set(OptionKey::MODG, 0);
    run(RecordType::Intake, {{"Mode", "H"}}, CheckClassMode);
    expect({});
}

}  // namespace
}  // namespace talveron
