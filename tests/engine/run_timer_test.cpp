#include "engine/run_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine_test_support.h"

namespace talveron {
namespace {

using namespace std::chrono_literals;
using testing::FakeClock;
using testing::RecordingObserver;

struct ElapsedCase {
    std::int64_t seconds;
    const char* expected;
};

class FormatElapsedTest : public ::testing::TestWithParam<ElapsedCase> {};

TEST_P(FormatElapsedTest, HoursWithoutLeadingZeroMinutesAndSecondsWithTwoDigits) {
    EXPECT_EQ(FormatElapsed(GetParam().seconds), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Durations, FormatElapsedTest,
    ::testing::Values(ElapsedCase{0, "0:00:00"}, ElapsedCase{9, "0:00:09"},
                      ElapsedCase{59, "0:00:59"}, ElapsedCase{60, "0:01:00"},
                      ElapsedCase{3599, "0:59:59"}, ElapsedCase{3723, "1:02:03"},
                      ElapsedCase{36000, "10:00:00"}, ElapsedCase{86399, "23:59:59"},
                      // After a day the hours start again from 0.
                      ElapsedCase{86400, "0:00:00"}, ElapsedCase{86400 + 3723, "1:02:03"}));

class RunTimerTest : public ::testing::Test {
protected:
    FakeClock clock{{2024, 6, 15, 10, 30, 0}};
    RecordingObserver observer;
};

TEST_F(RunTimerTest, StartTakesRunStartFromTheClock) {
    RunTimer timer(clock, observer, std::nullopt);
    timer.start();
    EXPECT_EQ(timer.runStart(), (LocalDateTime{2024, 6, 15, 10, 30, 0}));
    EXPECT_EQ(timer.present(), timer.runStart());
    EXPECT_EQ(timer.elapsedSeconds(), 0);
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
    EXPECT_EQ(observer.elapsed, (std::vector<std::string>{"0:00:00", "0:00:01", "1:02:03"}));
    EXPECT_EQ(timer.text(), "1:02:03");
    EXPECT_EQ(timer.elapsedSeconds(), 3723);
}

TEST_F(RunTimerTest, ARestartShowsZeroAgain) {
    RunTimer timer(clock, observer, std::nullopt);
    timer.start();
    clock.advance(5s);
    timer.update();
    timer.start();
    timer.update();
    EXPECT_EQ(observer.elapsed, (std::vector<std::string>{"0:00:05", "0:00:00"}));
}

TEST_F(RunTimerTest, ThePresentFollowsTheClock) {
    RunTimer timer(clock, observer, std::nullopt);
    timer.start();
    clock.setWall({2024, 6, 15, 23, 59, 59});
    clock.advance(1s);
    timer.update();
    EXPECT_EQ(timer.present(), (LocalDateTime{2024, 6, 15, 23, 59, 59}));
    EXPECT_EQ(timer.runStart(), (LocalDateTime{2024, 6, 15, 10, 30, 0}));
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
    EXPECT_EQ(timer.text(), "0:01:01");
}

}  // namespace
}  // namespace talveron
