#include "run/finding_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_test_support.h"

namespace talveron {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes;
using Shown = std::vector<std::pair<std::string, std::string>>;
using enum OptionKey;

const std::string kRecord = std::string(40, '1') + "X tail";

/// The nine lines of a section as the viewer expects them, written out independently here.
std::string Section(int number, std::int64_t line, std::string_view message,
                    std::string_view level) {
    return "\r\n[" + std::to_string(number) + "]\r\nLine=" + std::to_string(line) +
           "\r\nCol=5\r\nChar=41\r\nMsg=" + std::string(message) + "\r\nData=" + kRecord +
           "\r\nType=X\r\nLevel=" + std::string(level) + "\r\n";
}

class FindingWriterTest : public ::testing::Test {
protected:
    FindingWriterTest() {
        timer.start();
        EXPECT_TRUE(RunFolder::Open(dir / "load.dat", folder).ok());
    }

    void Switch(std::initializer_list<OptionKey> keys) {
        for (const OptionKey key : keys) options.set(key, -1);
    }

    void Write(Level level, std::string_view message, std::int64_t line) {
        writer.writeFinding({IRT, level, message, line, 5, 41, false, kRecord}, FindingPlace{});
    }

    std::string ResultsText() {
        EXPECT_TRUE(results.commit().ok());
        return ReadBytes(dir / "load.err");
    }

    testing::TempDir dir;
    OptionSettings options;  // all off until a test switches
    RunFolder folder;
    OutputFile results{folder, "load.err", "err", nullptr};
    OccurrenceTally tally;
    testing::RecordingObserver observer;
    testing::FakeClock clock;
    RunTimer timer{clock, observer, std::nullopt};
    InformationLine information{observer};
    FindingWriter writer{options, results, tally, observer, timer, information};
};

TEST_F(FindingWriterTest, ErrorsAndWarningsAreNumberedFromOneShownAndNotTalliedWithoutTheSummary) {
    Switch({GRF, IW});
    Write(Level::Error, "e1", 1234);
    Write(Level::Warning, "w1", 1234);
    Write(Level::Error, "e2", 3);
    EXPECT_EQ(writer.findingCount(), 3);
    // The results file keeps the plain number; the information line groups its digits.
    EXPECT_EQ(ResultsText(), Section(1, 1234, "e1", "ERROR") + Section(2, 1234, "w1", "WARNING") +
                                 Section(3, 3, "e2", "ERROR"));
    EXPECT_EQ(observer.information, (Shown{{"ERROR Information", "e1 Line:1,234"},
                                           {"WARNING Information", "w1 Line:1,234"},
                                           {"ERROR Information", "e2 Line:3"}}));
    EXPECT_TRUE(tally.empty(Level::Error));
    EXPECT_TRUE(tally.empty(Level::Warning));
}

TEST_F(FindingWriterTest, WithoutWarningsErrorsAreNumberedWithoutGapsAndWarningsNotShown) {
    Switch({GRF, IOS});
    Write(Level::Error, "e1", 2);
    Write(Level::Warning, "w1", 3);
    Write(Level::Error, "e2", 4);
    Write(Level::Warning, "w2", 5);
    Write(Level::Error, "e3", 6);
    EXPECT_EQ(writer.findingCount(), 3);
    EXPECT_EQ(ResultsText(), Section(1, 2, "e1", "ERROR") + Section(2, 4, "e2", "ERROR") +
                                 Section(3, 6, "e3", "ERROR"));
    EXPECT_EQ(observer.information, (Shown{{"ERROR Information", "e1 Line:2"},
                                           {"ERROR Information", "e2 Line:4"},
                                           {"ERROR Information", "e3 Line:6"}}));
    // Warnings are still seen and tallied.
    EXPECT_EQ(observer.findings.size(), 5u);
    EXPECT_EQ(tally.ordered(Level::Warning).size(), 2u);
}

TEST_F(FindingWriterTest, WithoutTheResultsFileNothingIsWrittenOrShownButAllIsTallied) {
    Switch({IW, IOS});
    Write(Level::Error, "e1", 2);
    Write(Level::Warning, "w1", 3);
    Write(Level::Error, "e1", 9);
    EXPECT_EQ(writer.findingCount(), 0);
    EXPECT_FALSE(results.opened());
    EXPECT_TRUE(observer.information.empty());
    EXPECT_EQ(observer.findings.size(), 3u);
    EXPECT_EQ(tally.ordered(Level::Error), (std::vector<TallyEntry>{{"e1", 2, 2, 9}}));
    EXPECT_EQ(tally.ordered(Level::Warning), (std::vector<TallyEntry>{{"w1", 1, 3, 3}}));
    EXPECT_TRUE(results.commit().ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "load.err"));
}

TEST_F(FindingWriterTest, EveryFindingRefreshesTheElapsedTime) {
    timer.update();
    clock.advance(5s);
    Write(Level::Warning, "w1", 3);  // not written anywhere, yet the time moves
    EXPECT_EQ(observer.elapsed, (std::vector<std::string>{"0:00:00", "0:00:05"}));
}

TEST_F(FindingWriterTest, AFailingResultsFileDoesNotStopNumberingOrTallying) {
    Switch({GRF, IOS});
    std::filesystem::create_directory(dir / "gone");
    RunFolder gone;
    ASSERT_TRUE(RunFolder::Open(dir / "gone" / "load.dat", gone).ok());
    std::filesystem::remove(dir / "gone");
    OutputFile broken(gone, "load.err", "err", nullptr);
    FindingWriter failing(options, broken, tally, observer, timer, information);
    const Finding finding{IRT, Level::Error, "e", 4, 0, 0, false, {}};
    failing.writeFinding(finding, FindingPlace{});
    failing.writeFinding(finding, FindingPlace{});
    EXPECT_EQ(failing.findingCount(), 2);
    EXPECT_EQ(tally.ordered(Level::Error), (std::vector<TallyEntry>{{"e", 2, 4, 4}}));
    EXPECT_EQ(broken.commit().code(), Status::Code::WriteFailed);
}

TEST(InformationLineTest, ShowTextKeepsTheCaption) {
    testing::RecordingObserver observer;
    InformationLine information(observer);
    information.showText("Register Load File...");
    information.show("ERROR Information", "m Line:2");
    information.showText("");
    EXPECT_EQ(observer.information, (Shown{{"Information", "Register Load File..."},
                                           {"ERROR Information", "m Line:2"},
                                           {"ERROR Information", ""}}));
}

}  // namespace
}  // namespace talveron
