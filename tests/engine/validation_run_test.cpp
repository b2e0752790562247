#include "engine/validation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "config/value_lists.h"
#include "engine/run_limits.h"
#include "engine_test_support.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::JoinLines;
using testing::MakeRecord;
using testing::ReadBytes;
using testing::SplitCrLf;
using testing::TypedLine;
using testing::WriteBytes;
using Lines = std::vector<std::string>;

constexpr std::int16_t kOn = -1;

/// One invalid-type finding: "Invalid Record Type 'X'", the only check a test switches on.
const std::string kBad = TypedLine('X', 100);
/// A clean comment record.
const std::string kComment = TypedLine('C', 100);

/// The nine lines of an invalid-type section, written out here as the viewer reads them.
std::string BadSection(int number, std::int64_t line, const std::string& record, char type = 'X') {
    return "\r\n[" + std::to_string(number) + "]\r\nLine=" + std::to_string(line) +
           "\r\nCol=5\r\nChar=41\r\nMsg=Invalid Record Type '" +
           (type ? std::string(1, type) : "") + "'\r\nData=" + record +
           "\r\nType=" + (type ? std::string(1, type) : "") + "\r\nLevel=ERROR\r\n";
}

class ValidationRunTest : public ::testing::Test {
protected:
    ValidationRunTest() {
        for (const OptionKey key :
             {OptionKey::GRF, OptionKey::IW, OptionKey::IRT, OptionKey::IRL}) {
            options.set(key, kOn);
        }
    }

    std::string Header() const {
        return MakeRecord(layouts, RecordType::Header, 181, {{"License_No", "LIC-1"}});
    }

    /// A load file of the header and the given lines, CR LF after each.
    fs::path Load(const Lines& lines, std::string_view name = "load.dat") {
        Lines all{Header()};
        all.insert(all.end(), lines.begin(), lines.end());
        return LoadBytes(JoinLines(all), name);
    }

    fs::path LoadBytes(std::string_view bytes, std::string_view name = "load.dat") {
        WriteBytes(dir / name, bytes);
        return dir / name;
    }

    RunOutcome Run(const fs::path& path) {
        const RunInputs inputs{layouts, options, lists, std::nullopt};
        ValidationRun run(inputs, clock, observer, active);
        return run.execute(path);
    }

    std::string Results() const { return ReadBytes(dir / "load.err"); }

    LayoutTable layouts = testing::TestLayouts();
    OptionSettings options;  // everything off but what the constructor and the tests switch on
    ValueLists lists = ValueLists::Load(testing::TestConfiguration());
    testing::FakeClock clock;
    testing::RecordingObserver observer;
    std::atomic<bool> active{true};
    testing::TempDir dir;
};

// ---- Refusals before the passes ------------------------------------------------------------

TEST_F(ValidationRunTest, AFileOf322BytesIsTooSmallAndOneOf323IsValidated) {
    // The header line and its CR LF are 183 bytes; a comment line fills up to the size wanted.
    const fs::path small = Load({TypedLine('C', 137)});
    ASSERT_EQ(fs::file_size(small), 322u);
    const RunOutcome tooSmall = Run(small);
    EXPECT_EQ(tooSmall.status, RunStatus::TooSmall);
    EXPECT_NE(tooSmall.problem.find(small.string()), std::string::npos) << tooSmall.problem;
    EXPECT_TRUE(observer.lines.empty());

    const fs::path enough = Load({TypedLine('C', 138)});
    ASSERT_EQ(fs::file_size(enough), 323u);
    EXPECT_EQ(Run(enough).status, RunStatus::Validated);
    EXPECT_EQ(observer.lines, (std::vector<std::int64_t>{1, 2}));
}

TEST_F(ValidationRunTest, AMissingFileOrAFolderIsUnreadable) {
    const RunOutcome missing = Run(dir / "none.dat");
    EXPECT_EQ(missing.status, RunStatus::Unreadable);
    EXPECT_NE(missing.problem.find((dir / "none.dat").string()), std::string::npos);

    fs::create_directory(dir / "folder.dat");
    EXPECT_EQ(Run(dir / "folder.dat").status, RunStatus::Unreadable);
    EXPECT_TRUE(fs::is_directory(dir / "folder.dat"));
    EXPECT_TRUE(observer.lines.empty());
}

TEST_F(ValidationRunTest, ALoadFileThatWouldBeItsOwnOutputIsRefusedAndNothingIsDeleted) {
    const fs::path load = Load({kBad, kBad}, "x.err");
    const std::string before = ReadBytes(load);
    WriteBytes(dir / "x.dst", "old report");
    const RunOutcome outcome = Run(load);
    EXPECT_EQ(outcome.status, RunStatus::Refused);
    EXPECT_FALSE(outcome.problem.empty());
    EXPECT_EQ(ReadBytes(load), before);
    EXPECT_EQ(ReadBytes(dir / "x.dst"), "old report");
    EXPECT_TRUE(observer.lines.empty());
    EXPECT_EQ(outcome.findingCount, 0);
}

TEST_F(ValidationRunTest, OldOutputsAreDeletedWhenTheFileIsChosen) {
    WriteBytes(dir / "load.err", "old results");
    WriteBytes(dir / "load.dst", "old report");
    const RunOutcome outcome = Run(Load({kComment, kComment}));
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

TEST_F(ValidationRunTest, OldOutputsAreDeletedEvenWhenTheFileIsTooSmall) {
    WriteBytes(dir / "load.err", "old results");
    EXPECT_EQ(Run(LoadBytes("tiny\r\n")).status, RunStatus::TooSmall);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
}

// ---- The results file --------------------------------------------------------------------

TEST_F(ValidationRunTest, WithoutFindingsThereIsNoResultsFileAndNoTrailer) {
    const RunOutcome outcome = Run(Load({kComment, kComment, kComment}));
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_EQ(outcome.findingCount, 0);
    EXPECT_FALSE(outcome.resultsWritten);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_EQ(outcome.counters.values[RunCounters::kTotalRecords], 4);
    EXPECT_EQ(outcome.counters.values[RunCounters::kCommentRecords], 3);
}

TEST_F(ValidationRunTest, ThreeFindingsAreNumberedAndFollowedByTheTrailer) {
    const RunOutcome outcome = Run(Load({kBad, kComment, kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_EQ(outcome.findingCount, 3);
    EXPECT_TRUE(outcome.resultsWritten);
    EXPECT_TRUE(outcome.resultsStatus.ok());
    EXPECT_EQ(Results(), BadSection(1, 2, kBad) + BadSection(2, 4, kBad) + BadSection(3, 5, kBad) +
                             "[ERROR]\r\nCount=3\r\n");
    EXPECT_EQ(outcome.counters.totalErrors(), 3);
    EXPECT_EQ(outcome.counters, observer.counters);
}

TEST_F(ValidationRunTest, ABlankLineCountsInTheNumbering) {
    const RunOutcome outcome = Run(Load({kComment, "", kBad}));
    EXPECT_EQ(Results(),
              BadSection(1, 3, "", '\0') + BadSection(2, 4, kBad) + "[ERROR]\r\nCount=2\r\n");
    EXPECT_EQ(outcome.counters.values[RunCounters::kTotalRecords], 4);
    EXPECT_EQ(observer.lines, (std::vector<std::int64_t>{1, 2, 3, 4}));
}

TEST_F(ValidationRunTest, ATooShortHeaderIsAWarningWithTypeHTalliedAsAnError) {
    const std::string header(150, 'h');
    const RunOutcome outcome = Run(LoadBytes(JoinLines({header, kComment, kComment, kComment})));
    EXPECT_EQ(Results(),
              "\r\n[1]\r\nLine=1\r\nCol=0\r\nChar=1\r\n"
              "Msg=Invalid Record Length of  152 for Type 'H'\r\nData=" +
                  header + "\r\nType=H\r\nLevel=WARNING\r\n[ERROR]\r\nCount=1\r\n");
    EXPECT_EQ(outcome.counters.totalErrors(), 1);
    EXPECT_EQ(outcome.counters.totalWarnings(), 0);
}

TEST_F(ValidationRunTest, LfOnlyAndCrOnlyFilesAreFramedLikeCrLf) {
    const Lines lines{Header(), kBad, "", kComment, kBad};
    std::vector<std::string> results;
    std::vector<RunCounters> counters;
    for (const std::string_view end : {"\r\n", "\n", "\r"}) {
        const RunOutcome outcome = Run(LoadBytes(JoinLines(lines, end)));
        ASSERT_EQ(outcome.status, RunStatus::Validated);
        results.push_back(Results());
        counters.push_back(outcome.counters);
    }
    EXPECT_EQ(results[0], BadSection(1, 2, kBad) + BadSection(2, 3, "", '\0') +
                              BadSection(3, 5, kBad) + "[ERROR]\r\nCount=3\r\n");
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[2], results[0]);
    EXPECT_EQ(counters[1], counters[0]);
    EXPECT_EQ(counters[2], counters[0]);
}

TEST_F(ValidationRunTest, AVeryLongLineIsJustATooLongRecord) {
    std::string longDose(40'001, 'x');
    longDose[40] = 'D';
    const RunOutcome outcome = Run(Load({kComment, longDose, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    ASSERT_EQ(observer.findings.size(), 2u);
    EXPECT_EQ(observer.findings[0].message, "Invalid Record Length of  40003 for Type 'D'");
    EXPECT_EQ(observer.findings[0].level, Level::Error);
    EXPECT_EQ(observer.findings[0].lineNumber, 3);
    EXPECT_EQ(observer.findings[0].column, 5);
    EXPECT_EQ(observer.findings[0].character, 41);
    EXPECT_EQ(observer.findings[1].lineNumber, 4);
    // Too long: written as an error, counted as a warning.
    EXPECT_EQ(outcome.counters.values[RunCounters::kDoseRecords], 1);
    EXPECT_EQ(outcome.counters.values[RunCounters::kDoseWarnings], 1);
    EXPECT_EQ(outcome.counters.values[RunCounters::kDoseErrors], 0);
    EXPECT_NE(Results().find("\r\n[2]\r\nLine=4\r\n"), std::string::npos);
}

TEST_F(ValidationRunTest, WithoutTheResultsOptionNoFileIsWrittenButFindingsAreCounted) {
    options.set(OptionKey::GRF, 0);
    const RunOutcome outcome = Run(Load({kBad, kBad}));
    EXPECT_EQ(outcome.findingCount, 0);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_EQ(outcome.counters.totalErrors(), 2);
    EXPECT_EQ(observer.findings.size(), 2u);
}

TEST_F(ValidationRunTest, AnUnwritableResultsFileDoesNotStopTheRun) {
    fs::create_directory(dir / "load.err");  // a folder where the results file would go
    const RunOutcome outcome = Run(Load({kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_EQ(outcome.findingCount, 2);
    EXPECT_FALSE(outcome.resultsWritten);
    EXPECT_FALSE(outcome.resultsStatus.ok());
    EXPECT_TRUE(fs::is_directory(dir / "load.err"));
    EXPECT_EQ(observer.lines.size(), 3u);
}

// ---- Cancelling and limits ----------------------------------------------------------------

TEST_F(ValidationRunTest, ARunCancelledBeforeItStartsReadsNoLine) {
    options.set(OptionKey::GDR, kOn);
    active = false;
    const RunOutcome outcome = Run(Load({kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Cancelled);
    EXPECT_TRUE(outcome.cancelReason.empty());
    EXPECT_TRUE(observer.lines.empty());
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
    EXPECT_FALSE(outcome.reportWritten);
}

TEST_F(ValidationRunTest, ACancelFinishesTheCurrentLineWritesTheTrailerAndNoReport) {
    options.set(OptionKey::GDR, kOn);
    observer.onLine = [this](std::int64_t line) {
        if (line == 3) active = false;
    };
    const RunOutcome outcome = Run(Load({kBad, kBad, kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Cancelled);
    EXPECT_EQ(observer.lines, (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(Results(),
              BadSection(1, 2, kBad) + BadSection(2, 3, kBad) + "[ERROR]\r\nCount=2\r\n");
    EXPECT_FALSE(outcome.reportWritten);
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

TEST_F(ValidationRunTest, TheErrorLimitFiresAtTheHundredAndFirstErrorNotTheHundredth) {
    options.set(OptionKey::TE, kOn);
    options.set(OptionKey::TE_VAL, 100);
    options.set(OptionKey::GDR, kOn);
    const RunOutcome outcome = Run(Load(Lines(120, kBad)));
    EXPECT_EQ(outcome.status, RunStatus::StoppedByLimit);
    EXPECT_EQ(outcome.cancelReason, kErrorLimitMessage);
    EXPECT_EQ(observer.lines.back(), 102);
    EXPECT_EQ(outcome.findingCount, 101);
    EXPECT_EQ(outcome.counters.totalErrors(), 101);
    EXPECT_TRUE(Results().ends_with("Level=ERROR\r\n[ERROR]\r\nCount=101\r\n"));
    EXPECT_FALSE(outcome.reportWritten);
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

TEST_F(ValidationRunTest, ExactlyAHundredErrorsStayWithinTheLimit) {
    options.set(OptionKey::TE, kOn);
    options.set(OptionKey::TE_VAL, 100);
    const RunOutcome outcome = Run(Load(Lines(100, kBad)));
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_TRUE(outcome.cancelReason.empty());
    EXPECT_EQ(outcome.findingCount, 100);
}

TEST_F(ValidationRunTest, WhenErrorAndTimeLimitsFireTogetherTheTimeMessageWins) {
    options.set(OptionKey::TE, kOn);
    options.set(OptionKey::TE_VAL, 0);
    options.set(OptionKey::ME, kOn);
    options.set(OptionKey::ME_VAL, 45);
    observer.onLine = [this](std::int64_t line) {
        if (line == 2) clock.advance(46min);
    };
    const RunOutcome outcome = Run(Load({kBad, kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::StoppedByLimit);
    EXPECT_EQ(outcome.cancelReason, kTimeLimitMessage);
    EXPECT_EQ(observer.lines, (std::vector<std::int64_t>{1, 2}));
}

TEST_F(ValidationRunTest, TheTimeLimitIsNoticedAtTheNextTestedLine) {
    options.set(OptionKey::ME, kOn);
    options.set(OptionKey::ME_VAL, 45);
    observer.onLine = [this](std::int64_t line) {
        if (line == 3) clock.advance(45min);
    };
    // Clean lines are tested every tenth line only.
    const RunOutcome outcome = Run(Load(Lines(20, kComment)));
    EXPECT_EQ(outcome.status, RunStatus::StoppedByLimit);
    EXPECT_EQ(outcome.cancelReason, kTimeLimitMessage);
    EXPECT_EQ(observer.lines.back(), 10);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
}

TEST_F(ValidationRunTest, TheRegistrationPassTestsTheLimitsEveryHundredthLine) {
    options.set(OptionKey::ME, kOn);
    options.set(OptionKey::ME_VAL, 0);  // exceeded whenever it is tested
    // 99 lines: the registration pass never tests, the main pass stops at line 10.
    EXPECT_EQ(Run(Load(Lines(98, kComment))).status, RunStatus::StoppedByLimit);
    EXPECT_EQ(observer.lines.size(), 10u);
    // 100 lines: the registration pass stops at its line 100 and the main pass reads nothing.
    observer.lines.clear();
    active = true;  // the caller starts every run active
    const RunOutcome outcome = Run(Load(Lines(99, kComment)));
    EXPECT_EQ(outcome.status, RunStatus::StoppedByLimit);
    EXPECT_EQ(outcome.cancelReason, kTimeLimitMessage);
    EXPECT_TRUE(observer.lines.empty());
}

// ---- Registration and main pass agree -------------------------------------------------------

TEST_F(ValidationRunTest, IntakesBelowADoseRecordAreFoundThoughABlankLineComesFirst) {
    options.set(OptionKey::HNCIR, kOn);
    const std::string withIntake =
        MakeRecord(layouts, RecordType::Dose, 198, {{"Employee_ID", "1"}, {"CEDE", "1.0"}});
    const std::string intake = MakeRecord(layouts, RecordType::Intake, 56, {{"Intake", "2.0"}});
    const std::string without =
        MakeRecord(layouts, RecordType::Dose, 198, {{"Employee_ID", "2"}, {"CEDE", "1.0"}});
    Run(Load({"", withIntake, intake, without}));
    ASSERT_EQ(observer.findings.size(), 2u);
    EXPECT_EQ(observer.findings[0].lineNumber, 2);  // the blank line's invalid type
    EXPECT_EQ(observer.findings[1].lineNumber, 5);
    EXPECT_EQ(observer.findings[1].message, "CEDE is > 0.0 yet has NO corresponding Intake Record");
}

TEST_F(ValidationRunTest, AnAsOfMomentIsTheTodayOfTheDateChecks) {
    options.set(OptionKey::DCD, kOn);
    const fs::path load =
        Load({MakeRecord(layouts, RecordType::Dose, 198,
                         {{"Monitoring_Start", "20200101"}, {"Monitoring_End", "20201231"}})});
    Run(load);
    EXPECT_TRUE(observer.findings.empty());  // the clock says 2024

    const RunInputs asOf{layouts, options, lists, LocalDateTime{2019, 12, 31, 0, 0, 0}};
    ValidationRun run(asOf, clock, observer, active);
    run.execute(load);
    ASSERT_EQ(observer.findings.size(), 2u);
    EXPECT_EQ(observer.findings[0].message, "Date must be before todays date");
}

// ---- The summary report ----------------------------------------------------------------------

TEST_F(ValidationRunTest, TheReportIsWrittenWhenChosen) {
    options.set(OptionKey::GDR, kOn);
    const RunOutcome outcome = Run(Load({kComment, kComment}));
    EXPECT_TRUE(outcome.reportWritten);
    EXPECT_TRUE(outcome.reportStatus.ok());
    EXPECT_FALSE(ReadBytes(dir / "load.dst").empty());
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Registering, RunPhase::Validating,
                                                      RunPhase::Summarising, RunPhase::Finished}));
}

TEST_F(ValidationRunTest, NoReportWhenNotChosen) {
    const RunOutcome outcome = Run(Load({kComment, kComment}));
    EXPECT_FALSE(outcome.reportWritten);
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Registering, RunPhase::Validating,
                                                      RunPhase::Finished}));
}

/// The count column of the report's occurrence row of a message.
std::string OccurrenceCount(const std::string& report, std::string_view message) {
    for (const std::string& line : SplitCrLf(report)) {
        if (line.size() == 30 + message.size() && line.ends_with(message)) {
            const std::string count = line.substr(20, 10);
            return count.substr(0, count.find(' '));
        }
    }
    return "no row";
}

TEST_F(ValidationRunTest, TheOccurrenceTallyStartsAfreshWithEveryRun) {
    options.set(OptionKey::GDR, kOn);
    options.set(OptionKey::IOS, kOn);
    const RunInputs inputs{layouts, options, lists, std::nullopt};
    ValidationRun run(inputs, clock, observer, active);
    const fs::path load = Load({kBad, kComment, kBad});
    ASSERT_TRUE(run.execute(load).reportWritten);
    EXPECT_EQ(OccurrenceCount(ReadBytes(dir / "load.dst"), "Invalid Record Type 'X'"), "2");
    ASSERT_TRUE(run.execute(load).reportWritten);
    EXPECT_EQ(OccurrenceCount(ReadBytes(dir / "load.dst"), "Invalid Record Type 'X'"), "2");
}

// ---- What the front end is told -------------------------------------------------------------

TEST_F(ValidationRunTest, TheObserverFollowsTheRun) {
    const RunOutcome outcome = Run(Load({kComment, kBad}));
    EXPECT_EQ(observer.lines, (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(observer.counterUpdates, 3);
    ASSERT_FALSE(observer.progress.empty());
    EXPECT_EQ(observer.progress.back(), (std::pair<int, int>{100, 100}));
    ASSERT_FALSE(observer.elapsed.empty());
    EXPECT_EQ(observer.elapsed.front(), "0:00:00");
    EXPECT_EQ(outcome.elapsed, "0:00:00");
    ASSERT_FALSE(observer.information.empty());
    EXPECT_EQ(observer.information.front(),
              (std::pair<std::string, std::string>{"Information", "Register Load File..."}));
    EXPECT_NE(std::find(observer.information.begin(), observer.information.end(),
                        std::pair<std::string, std::string>{"ERROR Information",
                                                            "Invalid Record Type 'X' Line:3"}),
              observer.information.end());
}

TEST_F(ValidationRunTest, ARefusedRunOnlyReportsThatItFinished) {
    EXPECT_EQ(Run(LoadBytes("tiny")).status, RunStatus::TooSmall);
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Finished}));
}

}  // namespace
}  // namespace talveron
