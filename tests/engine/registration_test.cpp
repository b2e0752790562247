#include "engine/registration.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine_test_support.h"

namespace talveron {
namespace {

using testing::MakeRecord;
using testing::TypedLine;

class RegistrationTest : public ::testing::Test {
protected:
    std::string Dose(std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
        return MakeRecord(layouts, RecordType::Dose, 198, values);
    }
    std::string Intake(std::string_view intake) {
        return MakeRecord(layouts, RecordType::Intake, 56, {{"Intake", intake}});
    }

    LayoutTable layouts = testing::TestLayouts();
    KnownFields fields = KnownFields::Find(layouts);
    LocalDateTime runStart{2024, 6, 15, 10, 30, 0};
    DoseRegister doses;
    DoseRegistration registration{layouts, fields, runStart, doses};
};

TEST_F(RegistrationTest, ADoseRecordBecomesAnEntryAndAddsToTheTotals) {
    registration.registerLine(Dose({{"Employee_ID", " 123456789"},
                                    {"ID_Type", "SSN"},
                                    {"Monitoring_Start", "20240101"},
                                    {"Monitoring_End", "20240614"},
                                    {"TEDE", "0.125"},
                                    {"CEDE", "0.5"},
                                    {"CDE", "ND"}}),
                              2);
    registration.registerLine(Dose({{"Employee_ID", "X"}, {"CEDE", "1.25"}, {"CDE", "3"}}), 3);
    registration.registerLine(
        Dose({{"Monitoring_Start", "20241301"}, {"Monitoring_End", "20240631"}}), 4);
    ASSERT_EQ(doses.doses().size(), 3u);
    const DoseListEntry& entry = doses.doses()[0];
    EXPECT_EQ(entry.key, MakePersonKey("SSN", "123456789"));
    EXPECT_EQ(entry.tede, 0.125);
    // 166 days and 10.5 hours before the run start; 1 day and 10.5 hours.
    EXPECT_EQ(entry.startDays, 166);
    EXPECT_EQ(entry.endDays, 1);
    EXPECT_EQ(doses.doses()[1].tede, 0.0);
    // Missing and invalid dates give day number 0.
    for (const DoseListEntry& undated : doses.doses().subspan(1)) {
        EXPECT_EQ(undated.startDays, 0);
        EXPECT_EQ(undated.endDays, 0);
    }
    EXPECT_DOUBLE_EQ(doses.cedeTotal(), 1.75);
    EXPECT_DOUBLE_EQ(doses.cdeTotal(), 3.0);
}

TEST_F(RegistrationTest, OnlyCharacter41DOrIRegistersOnAnyLineTheFirstIncluded) {
    registration.registerLine(TypedLine('d', 198), 2);
    registration.registerLine(TypedLine('i', 60), 3);
    registration.registerLine(TypedLine('C', 60), 4);
    registration.registerLine(TypedLine('H', 198), 5);
    registration.registerLine(std::string(40, 'D'), 6);
    registration.registerLine("", 7);
    EXPECT_TRUE(doses.doses().empty());
    EXPECT_EQ(doses.intakeCount(), 0);
    registration.registerLine(Dose({{"Employee_ID", "1"}}), 1);
    EXPECT_EQ(doses.doses().size(), 1u);
}

TEST_F(RegistrationTest, IntakesAreLinkedToTheLastDoseRecordAbove) {
    registration.registerLine(Intake("9"), 2);                   // before any dose record
    registration.registerLine(Dose({{"Employee_ID", "1"}}), 4);  // line 3 was blank
    registration.registerLine(Intake("0.5"), 5);
    registration.registerLine(TypedLine('C', 60), 6);
    registration.registerLine(Intake("1.5E1"), 7);
    registration.registerLine(Dose({{"Employee_ID", "2"}}), 8);
    registration.registerLine(Intake("ND"), 9);
    std::vector<std::tuple<std::int64_t, std::int64_t, double>> intakes;
    for (const IntakeEntry& e : doses.intakes())
        intakes.emplace_back(e.doseLine, e.intakeLine, e.intake);
    EXPECT_EQ(intakes, (std::vector<std::tuple<std::int64_t, std::int64_t, double>>{
                           {0, 2, 9.0}, {4, 5, 0.5}, {4, 7, 15.0}, {8, 9, 0.0}}));
    const IntakeSummary ofLine4 = doses.intakesOf(4);
    EXPECT_EQ(ofLine4.count, 2);
    EXPECT_DOUBLE_EQ(ofLine4.total, 15.5);
}

}  // namespace
}  // namespace talveron
