#include "run/validation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "config/value_lists.h"
#include "engine/engine_test_support.h"
#include "run/run_limits.h"

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
using LineNumbers = std::vector<std::int64_t>;

using enum OptionKey;
constexpr std::int16_t kOn = -1;

/// One invalid-type finding: "Invalid Record Type 'X'", the only check a test switches on.
const std::string kBad = TypedLine('X', 100);
/// A clean comment record.
const std::string kComment = TypedLine('C', 100);

/// The nine lines of an invalid-type section, written out here as the viewer reads them.
std::string BadSection(int number, std::int64_t line, const std::string& record, char type = 'X') {
    const std::string typeText = type ? std::string(1, type) : "";
    return "\r\n[" + std::to_string(number) + "]\r\nLine=" + std::to_string(line) +
           "\r\nCol=5\r\nChar=41\r\nMsg=Invalid Record Type '" + typeText + "'\r\nData=" + record +
           "\r\nType=" + typeText + "\r\nLevel=ERROR\r\n";
}

class ValidationRunTest : public ::testing::TestWithParam<testing::RunThreading> {
protected:
    ValidationRunTest() { Set({{GRF, kOn}, {IW, kOn}, {IRT, kOn}, {IRL, kOn}}); }

    void Set(std::initializer_list<std::pair<OptionKey, std::int16_t>> values) {
        for (const auto& [key, value] : values) options.set(key, value);
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

    RunInputs Inputs(std::optional<LocalDateTime> asOf = std::nullopt) const {
        RunInputs inputs{layouts, options, lists, asOf};
        inputs.threads = GetParam().threads;
        inputs.chunkBytes = GetParam().chunkBytes;
        return inputs;
    }

    RunOutcome Run(const fs::path& path) {
        const RunInputs inputs = Inputs();
        ValidationRun run(inputs, clock, observer, cancel);
        return run.execute(path);
    }

    std::string Results() const { return ReadBytes(dir / "load.err"); }

    LayoutTable layouts = testing::TestLayouts();
    OptionSettings options;  // everything off but what the constructor and the tests switch on
    ValueLists lists = ValueLists::Load(testing::TestConfiguration());
    testing::FakeClock clock;
    testing::RecordingObserver observer;
    CancelRequest cancel;
    testing::TempDir dir;
};

// ---- Refusals before the passes ------------------------------------------------------------

TEST_P(ValidationRunTest, AFileOf322BytesIsTooSmallAndOneOf323IsValidated) {
    // The header line and its CR LF are 183 bytes; a comment line fills up to the size wanted.
    const fs::path small = Load({TypedLine('C', 137)});
    ASSERT_EQ(fs::file_size(small), 322u);
    WriteBytes(dir / "load.err", "old results");  // deleted even though the file is refused
    const RunOutcome tooSmall = Run(small);
    EXPECT_EQ(tooSmall.status, RunStatus::TooSmall);
    EXPECT_NE(tooSmall.problem.find(small.string()), std::string::npos) << tooSmall.problem;
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_TRUE(observer.lines.empty());
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Finished}));

    const fs::path enough = Load({TypedLine('C', 138)});
    ASSERT_EQ(fs::file_size(enough), 323u);
    EXPECT_EQ(Run(enough).status, RunStatus::Validated);
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2}));
}

// ---- The results file --------------------------------------------------------------------

TEST_P(ValidationRunTest, WithoutFindingsOldOutputsAreGoneAndNoResultsFileIsWritten) {
    WriteBytes(dir / "load.err", "old results");
    WriteBytes(dir / "load.dst", "old report");
    const RunOutcome outcome = Run(Load({kComment, kComment, kComment}));
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_EQ(outcome.findingCount, 0);
    EXPECT_FALSE(outcome.resultsWritten);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
    EXPECT_EQ(outcome.counters.values[RunCounters::kTotalRecords], 4);
    EXPECT_EQ(outcome.counters.values[RunCounters::kCommentRecords], 3);
}

TEST_P(ValidationRunTest, FindingsAreNumberedWithBlankLinesCountedWhateverTheLineEnds) {
    const Lines lines{Header(), kBad, "", kComment, kBad};
    const std::string expected = BadSection(1, 2, kBad) + BadSection(2, 3, "", '\0') +
                                 BadSection(3, 5, kBad) + "[ERROR]\r\nCount=3\r\n";
    const RunOutcome crLf = Run(LoadBytes(JoinLines(lines)));
    EXPECT_EQ(crLf.status, RunStatus::Validated);
    EXPECT_EQ(crLf.findingCount, 3);
    EXPECT_TRUE(crLf.resultsWritten);
    EXPECT_TRUE(crLf.resultsStatus.ok());
    EXPECT_EQ(Results(), expected);
    EXPECT_EQ(crLf.counters.totalErrors(), 3);
    EXPECT_EQ(crLf.counters.values[RunCounters::kTotalRecords], 5);
    EXPECT_EQ(crLf.counters, observer.counters);
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2, 3, 4, 5}));
    for (const std::string_view end : {"\n", "\r"}) {
        const RunOutcome outcome = Run(LoadBytes(JoinLines(lines, end)));
        EXPECT_EQ(Results(), expected);
        EXPECT_EQ(outcome.counters, crLf.counters);
    }
}

TEST_P(ValidationRunTest, ATooShortHeaderIsAWarningWithTypeHTalliedAsAnError) {
    const std::string header(150, 'h');
    const RunOutcome outcome = Run(LoadBytes(JoinLines({header, kComment, kComment, kComment})));
    EXPECT_EQ(Results(),
              "\r\n[1]\r\nLine=1\r\nCol=0\r\nChar=1\r\n"
              "Msg=Invalid Record Length of  152 for Type 'H'\r\nData=" +
                  header + "\r\nType=H\r\nLevel=WARNING\r\n[ERROR]\r\nCount=1\r\n");
    EXPECT_EQ(outcome.counters.totalErrors(), 1);
    EXPECT_EQ(outcome.counters.totalWarnings(), 0);
}

TEST_P(ValidationRunTest, WithoutTheResultsOptionNoFileIsWrittenButFindingsAreCounted) {
    options.set(GRF, 0);
    const RunOutcome outcome = Run(Load({kBad, kBad}));
    EXPECT_EQ(outcome.findingCount, 0);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_EQ(outcome.counters.totalErrors(), 2);
    EXPECT_EQ(observer.findings.size(), 2u);
}

// ---- Cancelling and limits ----------------------------------------------------------------

TEST_P(ValidationRunTest, ARunCancelledBeforeItStartsReadsNoLine) {
    options.set(GDR, kOn);
    cancel.request();
    const RunOutcome outcome = Run(Load({kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Cancelled);
    EXPECT_TRUE(outcome.cancelReason.empty());
    EXPECT_TRUE(observer.lines.empty());
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
    EXPECT_FALSE(outcome.reportWritten);
}

TEST_P(ValidationRunTest, ACancelFinishesTheCurrentLineWritesTheTrailerAndNoReport) {
    options.set(GDR, kOn);
    observer.onLine = [this](std::int64_t line) {
        if (line == 3) cancel.request();
    };
    const RunOutcome outcome = Run(Load({kBad, kBad, kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Cancelled);
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2, 3}));
    EXPECT_EQ(Results(),
              BadSection(1, 2, kBad) + BadSection(2, 3, kBad) + "[ERROR]\r\nCount=2\r\n");
    EXPECT_FALSE(outcome.reportWritten);
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

TEST_P(ValidationRunTest, TheErrorLimitFiresAtTheHundredAndFirstErrorNotTheHundredth) {
    Set({{TE, kOn}, {TE_VAL, 100}, {GDR, kOn}});
    const RunOutcome within = Run(Load(Lines(100, kBad)));
    EXPECT_EQ(within.status, RunStatus::Validated);
    EXPECT_TRUE(within.cancelReason.empty());
    EXPECT_EQ(within.findingCount, 100);

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

TEST_P(ValidationRunTest, WhenErrorAndTimeLimitsFireTogetherTheTimeMessageWins) {
    Set({{TE, kOn}, {TE_VAL, 0}, {ME, kOn}, {ME_VAL, 45}});
    observer.onLine = [this](std::int64_t line) {
        if (line == 2) clock.advance(46min);
    };
    const RunOutcome outcome = Run(Load({kBad, kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::StoppedByLimit);
    EXPECT_EQ(outcome.cancelReason, kTimeLimitMessage);
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2}));
}

TEST_P(ValidationRunTest, TheTimeLimitIsNoticedAtTheNextTestedLine) {
    Set({{ME, kOn}, {ME_VAL, 45}});
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

TEST_P(ValidationRunTest, TheRegistrationPassTestsTheLimitsEveryHundredthLine) {
    Set({{ME, kOn}, {ME_VAL, 0}});  // exceeded whenever it is tested
    // 99 lines: the registration pass never tests, the main pass stops at line 10.
    EXPECT_EQ(Run(Load(Lines(98, kComment))).status, RunStatus::StoppedByLimit);
    EXPECT_EQ(observer.lines.size(), 10u);
    // 100 lines: the registration pass stops at its line 100 and the main pass reads nothing.
    observer.lines.clear();
    const RunOutcome outcome = Run(Load(Lines(99, kComment)));
    EXPECT_EQ(outcome.status, RunStatus::StoppedByLimit);
    EXPECT_EQ(outcome.cancelReason, kTimeLimitMessage);
    EXPECT_TRUE(observer.lines.empty());
}

// ---- Registration and main pass agree -------------------------------------------------------

TEST_P(ValidationRunTest, IntakesBelowADoseRecordAreFoundThoughABlankLineComesFirst) {
    options.set(HNCIR, kOn);
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

TEST_P(ValidationRunTest, AnAsOfMomentIsTheTodayOfTheDateChecks) {
    options.set(DCD, kOn);
    const fs::path load =
        Load({MakeRecord(layouts, RecordType::Dose, 198,
                         {{"Monitoring_Start", "20200101"}, {"Monitoring_End", "20201231"}})});
    Run(load);
    EXPECT_TRUE(observer.findings.empty());  // the clock says 2024

    const RunInputs asOf = Inputs(LocalDateTime{2019, 12, 31, 0, 0, 0});
    ValidationRun run(asOf, clock, observer, cancel);
    run.execute(load);
    ASSERT_EQ(observer.findings.size(), 2u);
    EXPECT_EQ(observer.findings[0].message, "Date must be before todays date");
}

// ---- The summary report ----------------------------------------------------------------------

TEST_P(ValidationRunTest, TheReportIsWrittenWhenChosen) {
    const RunOutcome without = Run(Load({kComment, kComment}));
    EXPECT_FALSE(without.reportWritten);
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Registering, RunPhase::Validating,
                                                      RunPhase::Finished}));
    observer.phases.clear();
    options.set(GDR, kOn);
    const RunOutcome outcome = Run(Load({kComment, kComment}));
    EXPECT_TRUE(outcome.reportWritten);
    EXPECT_TRUE(outcome.reportStatus.ok());
    EXPECT_FALSE(ReadBytes(dir / "load.dst").empty());
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Registering, RunPhase::Validating,
                                                      RunPhase::Summarising, RunPhase::Finished}));
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

TEST_P(ValidationRunTest, TheOccurrenceTallyStartsAfreshWithEveryRun) {
    Set({{GDR, kOn}, {IOS, kOn}});
    const RunInputs inputs = Inputs();
    ValidationRun run(inputs, clock, observer, cancel);
    const fs::path load = Load({kBad, kComment, kBad});
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(run.execute(load).reportWritten);
        EXPECT_EQ(OccurrenceCount(ReadBytes(dir / "load.dst"), "Invalid Record Type 'X'"), "2");
    }
}

// ---- What the front end is told -------------------------------------------------------------

TEST_P(ValidationRunTest, TheObserverFollowsTheRun) {
    const RunOutcome outcome = Run(Load({kComment, kBad}));
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2, 3}));
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

INSTANTIATE_TEST_SUITE_P(Threadings, ValidationRunTest,
                         ::testing::ValuesIn(testing::kRunThreadings), testing::RunThreadingName);

}  // namespace
}  // namespace talveron
