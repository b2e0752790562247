#include "run/run_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace talveron {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::string>;

TEST(FormatElapsedTest, HoursWithoutLeadingZeroMinutesAndSecondsWithTwoDigits) {
    EXPECT_EQ(FormatElapsed(0), "0:00:00");
    EXPECT_EQ(FormatElapsed(9), "0:00:09");
    EXPECT_EQ(FormatElapsed(59), "0:00:59");
    EXPECT_EQ(FormatElapsed(60), "0:01:00");
    EXPECT_EQ(FormatElapsed(3599), "0:59:59");
    EXPECT_EQ(FormatElapsed(3723), "1:02:03");
    EXPECT_EQ(FormatElapsed(36000), "10:00:00");
    EXPECT_EQ(FormatElapsed(86399), "23:59:59");
    // After a day the hours start again from 0.
    EXPECT_EQ(FormatElapsed(86400), "0:00:00");
    EXPECT_EQ(FormatElapsed(86400 + 3723), "1:02:03");
}

class RunTimerTest : public ::testing::Test {
protected:
    testing::FakeClock clock{{2024, 6, 15, 10, 30, 0}};
    testing::RecordingObserver observer;
};

TEST_F(RunTimerTest, RunStartIsTakenAtTheStartAndThePresentFollowsTheClock) {
    RunTimer timer(clock, observer, std::nullopt);
    timer.start();
    EXPECT_EQ(timer.runStart(), (LocalDateTime{2024, 6, 15, 10, 30, 0}));
    EXPECT_EQ(timer.present(), timer.runStart());
    EXPECT_EQ(timer.elapsedSeconds(), 0);
    clock.setWall({2024, 6, 15, 23, 59, 59});
    clock.advance(1s);
    timer.update();
    EXPECT_EQ(timer.present(), (LocalDateTime{2024, 6, 15, 23, 59, 59}));
    EXPECT_EQ(timer.runStart(), (LocalDateTime{2024, 6, 15, 10, 30, 0}));
}

TEST_F(RunTimerTest, TellsTheObserverOnlyWhenTheShownTextChanges) {
    RunTimer timer(clock, observer, std::nullopt);
    clock.advance(100s);  // time before the start does not count
    timer.start();
    timer.update();
    timer.update();
    clock.advance(400ms);
    timer.update();
    clock.advance(600ms);
    timer.update();
    clock.advance(3722s);
    timer.update();
    timer.update();
    EXPECT_EQ(observer.elapsed, (Texts{"0:00:00", "0:00:01", "1:02:03"}));
    EXPECT_EQ(timer.text(), "1:02:03");
    EXPECT_EQ(timer.elapsedSeconds(), 3723);
    // A restart shows zero again.
    timer.start();
    timer.update();
    EXPECT_EQ(observer.elapsed.back(), "0:00:00");
}

TEST_F(RunTimerTest, AnAsOfMomentIsRunStartAndPresentWhileElapsedTimeStaysReal) {
    const LocalDateTime asOf{2019, 3, 31, 0, 0, 0};
    RunTimer timer(clock, observer, asOf);
    timer.start();
    EXPECT_EQ(timer.runStart(), asOf);
    EXPECT_EQ(timer.present(), asOf);
    clock.setWall({2024, 6, 16, 1, 0, 0});
    clock.advance(61s);
    timer.update();
    EXPECT_EQ(timer.runStart(), asOf);
    EXPECT_EQ(timer.present(), asOf);
    EXPECT_EQ(timer.text(), "0:01:01");
}

}  // namespace
}  // namespace talveron
