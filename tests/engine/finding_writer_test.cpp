#include "engine/finding_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine_test_support.h"

namespace talveron {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes;

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
    FindingWriterTest() { timer.start(); }

    void Switch(std::initializer_list<OptionKey> keys) {
        for (const OptionKey key : keys) options.set(key, -1);
    }

    void Write(Level level, std::string_view message, std::int64_t line) {
        Finding finding;
        finding.level = level;
        finding.message = message;
        finding.lineNumber = line;
        finding.column = 5;
        finding.character = 41;
        finding.record = kRecord;
        writer.writeFinding(finding, FindingPlace{});
    }

    std::string ResultsText() {
        EXPECT_TRUE(results.close().ok());
        return ReadBytes(dir / "load.err");
    }

    testing::TempDir dir;
    OptionSettings options;  // all off until a test switches
    OutputFile results{dir / "load.err"};
    OccurrenceTally tally;
    testing::RecordingObserver observer;
    testing::FakeClock clock;
    RunTimer timer{clock, observer, std::nullopt};
    InformationLine information{observer};
    FindingWriter writer{options, results, tally, observer, timer, information};
};

TEST_F(FindingWriterTest, ErrorsAndWarningsAreNumberedFromOne) {
    Switch({OptionKey::GRF, OptionKey::IW});
    Write(Level::Error, "e1", 2);
    Write(Level::Warning, "w1", 3);
    Write(Level::Error, "e2", 3);
    EXPECT_EQ(writer.findingCount(), 3);
    EXPECT_EQ(ResultsText(), Section(1, 2, "e1", "ERROR") + Section(2, 3, "w1", "WARNING") +
                                 Section(3, 3, "e2", "ERROR"));
}

TEST_F(FindingWriterTest, WithoutWarningsErrorsAreNumberedWithoutGaps) {
    Switch({OptionKey::GRF, OptionKey::IOS});
    Write(Level::Error, "e1", 2);
    Write(Level::Warning, "w1", 3);
    Write(Level::Error, "e2", 4);
    Write(Level::Warning, "w2", 5);
    Write(Level::Error, "e3", 6);
    EXPECT_EQ(writer.findingCount(), 3);
    EXPECT_EQ(ResultsText(), Section(1, 2, "e1", "ERROR") + Section(2, 4, "e2", "ERROR") +
                                 Section(3, 6, "e3", "ERROR"));
    // Warnings are still seen and tallied.
    EXPECT_EQ(observer.findings.size(), 5u);
    EXPECT_EQ(tally.ordered(Level::Warning).size(), 2u);
}

TEST_F(FindingWriterTest, WithoutTheResultsFileNothingIsWrittenOrShownButAllIsTallied) {
    Switch({OptionKey::IW, OptionKey::IOS});
    Write(Level::Error, "e1", 2);
    Write(Level::Warning, "w1", 3);
    Write(Level::Error, "e1", 9);
    EXPECT_EQ(writer.findingCount(), 0);
    EXPECT_FALSE(results.opened());
    EXPECT_TRUE(observer.information.empty());
    EXPECT_EQ(observer.findings.size(), 3u);
    EXPECT_EQ(tally.ordered(Level::Error), (std::vector<TallyEntry>{{"e1", 2, 2, 9}}));
    EXPECT_EQ(tally.ordered(Level::Warning), (std::vector<TallyEntry>{{"w1", 1, 3, 3}}));
    EXPECT_TRUE(results.close().ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "load.err"));
}

TEST_F(FindingWriterTest, WithoutTheSummaryOptionNothingIsTallied) {
    Switch({OptionKey::GRF, OptionKey::IW});
    Write(Level::Error, "e1", 2);
    Write(Level::Warning, "w1", 3);
    EXPECT_TRUE(tally.empty(Level::Error));
    EXPECT_TRUE(tally.empty(Level::Warning));
}

TEST_F(FindingWriterTest, TheInformationLineShowsLevelMessageAndGroupedLineNumber) {
    Switch({OptionKey::GRF, OptionKey::IW});
    Write(Level::Error, "Bad value", 1234);
    ASSERT_EQ(observer.information.size(), 1u);
    EXPECT_EQ(observer.information[0].first, "ERROR Information");
    EXPECT_EQ(observer.information[0].second, "Bad value Line:1,234");
    Write(Level::Warning, "Odd value", 7);
    ASSERT_EQ(observer.information.size(), 2u);
    EXPECT_EQ(observer.information[1].first, "WARNING Information");
    EXPECT_EQ(observer.information[1].second, "Odd value Line:7");
    // The results file keeps the plain number.
    EXPECT_NE(ResultsText().find("\r\nLine=1234\r\n"), std::string::npos);
}

TEST_F(FindingWriterTest, AWarningLeftOutOfTheFileDoesNotChangeTheInformationLine) {
    Switch({OptionKey::GRF});
    Write(Level::Warning, "w1", 3);
    EXPECT_TRUE(observer.information.empty());
}

TEST_F(FindingWriterTest, EveryFindingRefreshesTheElapsedTime) {
    timer.update();
    clock.advance(5s);
    Write(Level::Warning, "w1", 3);  // not written anywhere, yet the time moves
    EXPECT_EQ(observer.elapsed, (std::vector<std::string>{"0:00:00", "0:00:05"}));
}

TEST_F(FindingWriterTest, AFailingResultsFileDoesNotStopNumberingOrTallying) {
    Switch({OptionKey::GRF, OptionKey::IOS});
    OutputFile broken(dir / "missing" / "load.err");
    FindingWriter failing(options, broken, tally, observer, timer, information);
    Finding finding;
    finding.message = "e";
    finding.lineNumber = 4;
    failing.writeFinding(finding, FindingPlace{});
    failing.writeFinding(finding, FindingPlace{});
    EXPECT_EQ(failing.findingCount(), 2);
    EXPECT_EQ(tally.ordered(Level::Error), (std::vector<TallyEntry>{{"e", 2, 4, 4}}));
    EXPECT_EQ(broken.close().code(), Status::Code::WriteFailed);
}

TEST(InformationLineTest, ShowTextKeepsTheCaption) {
    testing::RecordingObserver observer;
    InformationLine information(observer);
    information.showText("Register Load File...");
    information.show("ERROR Information", "m Line:2");
    information.showText("");
    using Shown = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(observer.information, (Shown{{"Information", "Register Load File..."},
                                           {"ERROR Information", "m Line:2"},
                                           {"ERROR Information", ""}}));
}

}  // namespace
}  // namespace talveron
