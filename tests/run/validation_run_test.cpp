// Whole runs, each under three ways of sharing the checking among threads: the outcome, the
// outputs and what the observer sees must not depend on it.
#include "run/validation_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "config/default_configuration.h"
#include "config/ini_document.h"
#include "config/run_configuration.h"
#include "run/run_limits.h"
#include "support/test_support.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ReadBytes;
using testing::WriteBytes;
using Lines = std::vector<std::string>;
using LineNumbers = std::vector<std::int64_t>;
using enum OptionKey;
constexpr std::int16_t kOn = -1;
const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;

/// How a run splits its checking among threads.
struct Threading {
    int threads;
    std::size_t chunkBytes;
    const char* name;
};

/// One thread; three threads taking a line at a time; two threads taking a few lines at a time.
constexpr Threading kThreadings[] = {
    {1, kDefaultChunkBytes, "OneThread"},
    {3, 1, "ThreeThreadsLineByLine"},
    {2, 700, "TwoThreadsFewLinesAtATime"},
};

/// A line of blanks with the type at character 41.
std::string Typed(char type, std::size_t length = 100) {
    std::string line(length, ' ');
    line[40] = type;
    return line;
}

/// One invalid-type finding: "Invalid Record Type 'X'", the only check the tests switch on.
const std::string kBad = Typed('X');
/// A clean comment record.
const std::string kComment = Typed('C');

class ValidationRunTest : public ::testing::TestWithParam<Threading> {
protected:
    ValidationRunTest() {
        for (const OptionKey key : {GRF, IW, IRT, IRL}) options.set(key, kOn);
    }

    /// A record of the shipped layout of its type with the values at their fields.
    std::string Record(RecordType type, std::size_t length,
                       const std::vector<std::pair<std::string_view, std::string_view>>& values) {
        std::string line = type == RecordType::Header ? std::string(length, ' ')
                                                      : Typed(RecordTypeLetter(type), length);
        const RecordLayout& layout = configuration.layouts.of(type);
        for (const auto& [name, value] : values) {
            line.replace(layout.field(FindField(layout, name))->start - 1, value.size(), value);
        }
        return line;
    }

    /// A load file of a header and the given lines, each with `end` after it.
    fs::path Load(const Lines& lines, std::string_view end = "\r\n") {
        std::string text = Record(RecordType::Header, 181, {{"License_Number", "LIC-1"}});
        text += end;
        for (const std::string& line : lines) text += line + std::string(end);
        WriteBytes(dir / "load.dat", text);
        return dir / "load.dat";
    }

    RunInputs Inputs(std::optional<LocalDateTime> asOf = std::nullopt) const {
        RunInputs inputs{configuration.layouts, options, configuration.lists, asOf};
        inputs.threads = GetParam().threads;
        inputs.chunkBytes = GetParam().chunkBytes;
        return inputs;
    }

    RunOutcome Run(const fs::path& path, std::optional<LocalDateTime> asOf = std::nullopt) {
        const RunInputs inputs = Inputs(asOf);
        ValidationRun run(inputs, clock, observer, cancel);
        return run.execute(path);
    }

    std::string Results() const { return ReadBytes(dir / "load.err"); }

    RunConfiguration configuration = [] {
        RunConfiguration loaded;
        const IniDocument document{std::string(DefaultConfigurationText())};
        loaded.layouts = LoadRecordLayouts(document);
        loaded.lists = ValueLists::Load(document);
        return loaded;
    }();
    OptionSettings options;  // everything off but what the constructor and the tests switch on
    testing::FakeClock clock;
    testing::RecordingObserver observer;
    CancelRequest cancel;
    testing::TemporaryDirectory dir;
};

TEST_P(ValidationRunTest, AFileOf322BytesIsTooSmallAndOneOf323IsValidated) {
    // The header line and its CR LF are 183 bytes; a comment line fills up to the size wanted.
    const fs::path small = Load({Typed('C', 137)});
    ASSERT_EQ(fs::file_size(small), 322u);
    WriteBytes(dir / "load.err", "old results");  // deleted even though the file is refused
    const RunOutcome tooSmall = Run(small);
    EXPECT_EQ(tooSmall.status, RunStatus::TooSmall);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Finished}));

    ASSERT_EQ(fs::file_size(Load({Typed('C', 138)})), 323u);
    EXPECT_EQ(Run(dir / "load.dat").status, RunStatus::Validated);
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2}));
}

TEST_P(ValidationRunTest, FindingsAreNumberedWithBlankLinesCountedWhateverTheLineEnds) {
    const auto section = [](int number, int line, const std::string& record, const char* type) {
        return "\r\n[" + std::to_string(number) + "]\r\nLine=" + std::to_string(line) +
               "\r\nCol=5\r\nChar=41\r\nMsg=Invalid Record Type '" + type + "'\r\nData=" + record +
               "\r\nType=" + type + "\r\nLevel=ERROR\r\n";
    };
    const std::string expected = section(1, 2, kBad, "X") + section(2, 3, "", "") +
                                 section(3, 5, kBad, "X") + "[ERROR]\r\nCount=3\r\n";
    for (const std::string_view end : {"\r\n", "\n", "\r"}) {
        observer.lines.clear();
        const RunOutcome outcome = Run(Load({kBad, "", kComment, kBad}, end));
        EXPECT_EQ(outcome.findingCount, 3);
        EXPECT_EQ(Results(), expected);
        EXPECT_EQ(outcome.counters.values[RunCounters::kTotalRecords], 5);
        EXPECT_EQ(outcome.counters, observer.counters);
        EXPECT_EQ(observer.lines, (LineNumbers{1, 2, 3, 4, 5}));
    }
}

TEST_P(ValidationRunTest, ARunCancelledBeforeItStartsReadsNoLine) {
    options.set(GDR, kOn);
    cancel.request();
    const RunOutcome outcome = Run(Load({kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Cancelled);
    EXPECT_TRUE(observer.lines.empty());
    EXPECT_EQ(testing::ListFolder(dir.path()).size(), 1u);  // the load file alone
}

TEST_P(ValidationRunTest, ACancelFinishesTheCurrentLineWritesTheTrailerAndNoReport) {
    options.set(GDR, kOn);
    observer.onLine = [this](std::int64_t line) {
        if (line == 3) cancel.request();
    };
    const RunOutcome outcome = Run(Load({kBad, kBad, kBad, kBad}));
    EXPECT_EQ(outcome.status, RunStatus::Cancelled);
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2, 3}));
    EXPECT_TRUE(Results().ends_with("Level=ERROR\r\n[ERROR]\r\nCount=2\r\n"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

TEST_P(ValidationRunTest, TheErrorLimitFiresAtTheHundredAndFirstErrorNotTheHundredth) {
    for (const auto& [key, value] : {std::pair{TE, kOn}, {TE_VAL, 100}, {GDR, kOn}})
        options.set(key, value);
    EXPECT_EQ(Run(Load(Lines(100, kBad))).status, RunStatus::Validated);
    const RunOutcome outcome = Run(Load(Lines(120, kBad)));
    EXPECT_EQ(outcome.status, RunStatus::StoppedByLimit);
    EXPECT_EQ(outcome.cancelReason, kErrorLimitMessage);
    EXPECT_EQ(observer.lines.back(), 102);
    EXPECT_TRUE(Results().ends_with("Level=ERROR\r\n[ERROR]\r\nCount=101\r\n"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

TEST_P(ValidationRunTest, TimeLimitsAreNoticedAtTheLinesTestedAndTheirMessageWins) {
    for (const auto& [key, value] : {std::pair{TE, kOn}, {TE_VAL, 0}, {ME, kOn}, {ME_VAL, 45}})
        options.set(key, value);
    observer.onLine = [this](std::int64_t line) {
        if (line == 2) clock.advance(46min);
    };
    const RunOutcome both = Run(Load({kBad, kBad, kBad}));
    EXPECT_EQ(both.cancelReason, kTimeLimitMessage);
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2}));
    // Clean lines are tested every tenth line only.
    options.set(TE, 0);
    observer.lines.clear();
    observer.onLine = [this](std::int64_t line) {
        if (line == 3) clock.advance(45min);
    };
    EXPECT_EQ(Run(Load(Lines(20, kComment))).status, RunStatus::StoppedByLimit);
    EXPECT_EQ(observer.lines.back(), 10);
}

TEST_P(ValidationRunTest, TheRegistrationPassTestsTheLimitsEveryHundredthLine) {
    options.set(ME, kOn);  // with ME_VAL 0 exceeded whenever it is tested
    // 99 lines: the registration pass never tests, the main pass stops at line 10.
    EXPECT_EQ(Run(Load(Lines(98, kComment))).status, RunStatus::StoppedByLimit);
    EXPECT_EQ(observer.lines.size(), 10u);
    // 100 lines: the registration pass stops at its line 100 and the main pass reads nothing.
    observer.lines.clear();
    EXPECT_EQ(Run(Load(Lines(99, kComment))).cancelReason, kTimeLimitMessage);
    EXPECT_TRUE(observer.lines.empty());
}

TEST_P(ValidationRunTest, IntakesBelowADoseRecordAreFoundThoughABlankLineComesFirst) {
    options.set(HNCIR, kOn);
    const std::string withIntake =
        Record(RecordType::Dose, 198, {{"Employee_ID", "1"}, {"CEDE", "1.0"}});
    const std::string intake = Record(RecordType::Intake, 56, {{"Intake", "2.0"}});
    const std::string without =
        Record(RecordType::Dose, 198, {{"Employee_ID", "2"}, {"CEDE", "1.0"}});
    Run(Load({"", withIntake, intake, without}));
    EXPECT_EQ(observer.findings,
              (std::vector<testing::SeenFinding>{
                  {IRT, Level::Error, "Invalid Record Type ''", 2, 5, 41},
                  {HNCIR, Level::Warning, "CEDE is > 0.0 yet has NO corresponding Intake Record", 5,
                   13, 106}}));
}

TEST_P(ValidationRunTest, AnAsOfMomentIsTheTodayOfTheDateChecks) {
    options.set(DCD, kOn);
    const fs::path load =
        Load({Record(RecordType::Dose, 198,
                     {{"Monitoring_Start", "20200101"}, {"Monitoring_End", "20201231"}})});
    Run(load);
    EXPECT_TRUE(observer.findings.empty());  // the clock says 2024
    Run(load, LocalDateTime{2019, 12, 31, 0, 0, 0});
    ASSERT_EQ(observer.findings.size(), 2u);
    EXPECT_EQ(observer.findings[0].message, "Date must be before todays date");
}

TEST_P(ValidationRunTest, TheReportFollowsItsOptionAndTheTallyStartsAfreshWithEveryRun) {
    Run(Load({kComment, kComment}));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
    EXPECT_EQ(observer.phases, (std::vector<RunPhase>{RunPhase::Registering, RunPhase::Validating,
                                                      RunPhase::Finished}));
    options.set(GDR, kOn);
    options.set(IOS, kOn);
    const RunInputs inputs = Inputs();
    ValidationRun run(inputs, clock, observer, cancel);
    for (int round = 0; round < 2; ++round) {
        observer.phases.clear();
        ASSERT_TRUE(run.execute(Load({kBad, kComment, kBad})).reportWritten);
        EXPECT_NE(ReadBytes(dir / "load.dst").find("         2         Invalid Record Type 'X'"),
                  std::string::npos);
        EXPECT_EQ(observer.phases.size(), 4u);  // Summarising before Finished
    }
}

TEST_P(ValidationRunTest, TheObserverFollowsTheRun) {
    const RunOutcome outcome = Run(Load({kComment, kBad}));
    EXPECT_EQ(observer.lines, (LineNumbers{1, 2, 3}));
    EXPECT_EQ(observer.progress.back(), (std::pair<int, int>{100, 100}));
    EXPECT_EQ(observer.elapsed.front(), "0:00:00");
    EXPECT_EQ(outcome.elapsed, "0:00:00");
    EXPECT_EQ(observer.information.front(),
              (std::pair<std::string, std::string>{"Information", "Register Load File..."}));
    EXPECT_NE(std::find(observer.information.begin(), observer.information.end(),
                        std::pair<std::string, std::string>{"ERROR Information",
                                                            "Invalid Record Type 'X' Line:3"}),
              observer.information.end());
}

// The shipped files hold every family of findings, those of records that depend on others too;
// a run stopped by a limit must stop at the same line.
TEST_P(ValidationRunTest, TheShippedFilesGiveWhatOneThreadGives) {
    options = OptionSettings::Defaults();
    options.set(TE, kOn);
    for (const char* name : {"faulty.dat", "sample.dat", "faulty.dat"}) {
        fs::copy_file(kSampleData / name, dir / "load.dat", fs::copy_options::overwrite_existing);
        const RunInputs oneThread{configuration.layouts, options, configuration.lists, {}};
        testing::RecordingObserver alone;
        const RunOutcome expected =
            ValidationRun(oneThread, clock, alone, cancel).execute(dir / "load.dat");
        const std::string results = fs::exists(dir / "load.err") ? Results() : "";
        const std::string report = ReadBytes(dir / "load.dst");
        const RunOutcome outcome = Run(dir / "load.dat");
        EXPECT_EQ(outcome.status, expected.status) << name;
        EXPECT_EQ(outcome.counters, expected.counters) << name;
        EXPECT_EQ(fs::exists(dir / "load.err") ? Results() : "", results) << name;
        EXPECT_EQ(ReadBytes(dir / "load.dst"), report) << name;
        EXPECT_EQ(observer.findings, alone.findings) << name;
        EXPECT_EQ(observer.progress, alone.progress) << name;
        EXPECT_EQ(observer.information, alone.information) << name;
        observer = testing::RecordingObserver();
        options.set(TE_VAL, 5);  // the second faulty.dat stops at its sixth error
    }
}

INSTANTIATE_TEST_SUITE_P(Threadings, ValidationRunTest, ::testing::ValuesIn(kThreadings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talveron
