#include "run/progress_meter.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/engine_test_support.h"

namespace talveron {
namespace {

using Shown = std::vector<std::pair<int, int>>;

class ProgressMeterTest : public ::testing::Test {
protected:
    testing::RecordingObserver observer;
    ProgressMeter meter{observer};
};

TEST_F(ProgressMeterTest, RegistrationFillsThirtyPercentRoundingHalvesToEven) {
    meter.registrationLine(5, 200);   // 2.5% -> 2, overall 0.6 -> 1
    meter.registrationLine(7, 200);   // 3.5% -> 4, overall 1.2 -> 1
    meter.registrationLine(30, 200);  // 15%, overall 4.5 -> 4
    meter.registrationLine(50, 200);  // 25%, overall 7.5 -> 8
    meter.registrationLine(51, 200);  // 25.5% -> 26, overall 7.8 -> 8
    EXPECT_EQ(observer.progress, (Shown{{2, 1}, {4, 1}, {15, 4}, {25, 8}, {26, 8}}));
    EXPECT_EQ(meter.pass(), 26);
    EXPECT_EQ(meter.overall(), 8);
}

TEST_F(ProgressMeterTest, OnlyChangedValuesUpToAHundredAreSent) {
    meter.registrationLine(10, 0);  // an empty file moves nothing
    meter.mainLine(10, 0, true);
    meter.registrationLine(50, 100);  // 50%, overall 15
    meter.registrationLine(50, 100);
    meter.registrationLine(502, 1000);  // 50.2% shows as 50
    meter.registrationLine(0, 100);     // zero percent leaves the whole run alone
    meter.registrationLine(90, 100);    // 90%, overall 27
    meter.registrationLine(125, 100);   // pass keeps 90; overall 37.5 -> 38 is taken
    meter.mainLine(99, 100, false);     // 99%, overall 59.4 + 40 -> 99
    meter.mainLine(150, 100, false);    // 150% and 130: neither is taken
    EXPECT_EQ(observer.progress, (Shown{{50, 15}, {0, 15}, {90, 27}, {90, 38}, {99, 99}}));
}

TEST_F(ProgressMeterTest, MainPassStartsAtThirtyWithAReportAndAtFortyWithout) {
    ProgressMeter withReport(observer);
    withReport.mainLine(50, 100, true);
    withReport.mainLine(199, 200, true);  // 99.5% -> 100 (even), overall 90
    testing::RecordingObserver other;
    ProgressMeter withoutReport(other);
    withoutReport.mainLine(50, 100, false);
    withoutReport.mainLine(199, 200, false);
    EXPECT_EQ(observer.progress, (Shown{{50, 60}, {100, 90}}));
    EXPECT_EQ(other.progress, (Shown{{50, 70}, {100, 100}}));
}

TEST_F(ProgressMeterTest, EndsOfPassesAndStartOfRun) {
    meter.registrationLine(40, 100);  // 40, 12
    meter.endRegistration();          // pass back to 0
    meter.endMainPass();
    meter.startRun();
    EXPECT_EQ(observer.progress, (Shown{{40, 12}, {0, 12}, {100, 100}, {100, 0}}));
}

TEST_F(ProgressMeterTest, SummaryMovesTheWholeRunFromNinetyToHundred) {
    meter.summary(0);
    meter.summary(25);  // 92.5 -> 92
    meter.summary(50);
    meter.summary(100);
    EXPECT_EQ(observer.progress, (Shown{{0, 90}, {25, 92}, {50, 95}, {100, 100}}));
}

}  // namespace
}  // namespace talveron
