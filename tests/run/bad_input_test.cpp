// Whatever the load file and the folders around it hold, a run ends with a defined outcome and
// touches no file but its two outputs.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <functional>
#include <new>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "config/default_configuration.h"
#include "config/option_settings.h"
#include "config/value_lists.h"
#include "engine/line_reader.h"
#include "run/validation_run.h"
#include "support/test_support.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::ListFolder;
using testing::Listing;
using testing::ReadBytes;
using testing::WriteBytes;

const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;
/// A file that cannot be opened for reading even by the superuser (a write-only attribute).
const fs::path kUnreadableForEveryone = "/sys/bus/cpu/drivers_probe";

/// The listing without the two outputs of a load file, which a run may replace.
Listing WithoutOutputs(const fs::path& root, const fs::path& load) {
    Listing listing = ListFolder(root);
    const RunPaths paths = DeriveRunPaths(fs::relative(load, root));
    listing.erase(paths.results.string());
    listing.erase(paths.report.string());
    return listing;
}

/// 48 lines with findings from line 2 on; every line ends with CR LF.
std::string ProductionLoad() { return ReadBytes(kSampleData / "faulty.dat"); }
constexpr std::size_t kProductionLoadLines = 48;

std::string Repeated(std::string_view text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

/// The lines of a load file with the given line end after each.
std::string WithLineEnds(const std::string& crLfText, const std::function<std::string(int)>& end) {
    std::string text;
    int line = 0;
    for (std::size_t from = 0; from < crLfText.size();) {
        const std::size_t close = crLfText.find("\r\n", from);
        text += crLfText.substr(from, close - from) + end(line++);
        from = close + 2;
    }
    return text;
}

/// Every case of a table names itself with its first member, `what`.
template <typename Case>
requires std::is_same_v<decltype(Case::what), const char*> std::ostream& operator<<(
    std::ostream& out, const Case& test) {
    return out << test.what;
}

/// A test name made of a case's description.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.what;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

/// Runs with the shipped production configuration in a fresh folder, which also holds a
/// neighbouring file that no run may touch.
class BadInputTest : public ::testing::Test {
protected:
    BadInputTest() { WriteBytes(dir / "neighbour.txt", "not to be touched"); }

    RunOutcome Run(const fs::path& load) {
        RunInputs inputs{layouts, options, lists, std::nullopt, recordLimit};
        // Checked ahead, a line at a time on several threads: the way of working whose reading
        // runs furthest ahead of what the run has written.
        inputs.threads = 3;
        inputs.chunkBytes = chunkBytes;
        ValidationRun run(inputs, clock, observer, cancel);
        return run.execute(load);
    }

    /// Runs and checks that nothing but the two outputs of the load file changed.
    RunOutcome RunTouchingOnlyTheOutputs(const fs::path& load) {
        const Listing before = WithoutOutputs(dir.path(), load);
        const RunOutcome outcome = Run(load);
        EXPECT_EQ(WithoutOutputs(dir.path(), load), before);
        return outcome;
    }

    IniDocument configuration{std::string(DefaultConfigurationText())};
    LayoutTable layouts = LoadRecordLayouts(configuration);
    OptionSettings options = LoadOptionSettings(configuration);
    ValueLists lists = ValueLists::Load(configuration);
    std::int64_t recordLimit = kMaxRegisteredRecords;
    std::size_t chunkBytes = 1;
    testing::FakeClock clock;
    testing::RecordingObserver observer;
    CancelRequest cancel;
    testing::TemporaryDirectory dir;
};

// ---- What the load file holds ----------------------------------------------------------------

struct ContentCase {
    const char* what;
    std::function<std::string()> bytes;
    RunStatus status;
    std::size_t linesChecked;
    const char* problem;  ///< part of the outcome's problem; empty when there is none
};

class LoadContentTest : public BadInputTest, public ::testing::WithParamInterface<ContentCase> {};

TEST_P(LoadContentTest, EndsAsExpectedAndTouchesOnlyTheOutputs) {
    const ContentCase& test = GetParam();
    const fs::path load = dir / "load.dat";
    WriteBytes(load, test.bytes());
    const RunOutcome outcome = RunTouchingOnlyTheOutputs(load);
    EXPECT_EQ(outcome.status, test.status) << outcome.problem;
    EXPECT_EQ(observer.lines.size(), test.linesChecked);
    if (*test.problem == '\0') {
        EXPECT_EQ(outcome.problem, "");
        return;
    }
    EXPECT_NE(outcome.problem.find(test.problem), std::string::npos) << outcome.problem;
    EXPECT_NE(outcome.problem.find(QuotedPath(load)), std::string::npos) << outcome.problem;
    EXPECT_FALSE(outcome.resultsWritten);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

/// Four lines of 120 bytes of every value but CR and LF (NUL in their place), CR LF after each.
std::string Binary() {
    std::string bytes;
    for (int line = 0; line < 4; ++line) {
        for (int i = 0; i < 120; ++i) {
            const auto byte = static_cast<char>((line * 120 + i) % 256);
            bytes += byte == '\r' || byte == '\n' ? '\0' : byte;
        }
        bytes += "\r\n";
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, LoadContentTest,
    ::testing::Values(ContentCase{"only CR LFs", [] { return Repeated("\r\n", 200); },
                                  RunStatus::Validated, 200, ""},
                      ContentCase{"only CRs", [] { return std::string(400, '\r'); },
                                  RunStatus::Validated, 400, ""},
                      ContentCase{"binary with NUL bytes", Binary, RunStatus::Validated, 4, ""},
                      ContentCase{"one line of 10 MiB", [] { return std::string(10 << 20, 'x'); },
                                  RunStatus::Validated, 1, ""},
                      ContentCase{"one line of 16 MiB and a byte",
                                  [] { return std::string(kMaxLineLength + 1, 'x') + "\r\n"; },
                                  RunStatus::TooLarge, 0, "line 1 is longer than 16 MiB"},
                      ContentCase{
                          "a line over 16 MiB after good lines",
                          [] { return ProductionLoad() + std::string(kMaxLineLength + 1, ' '); },
                          RunStatus::TooLarge, 0, "line 49 is longer than 16 MiB"}),
    CaseName<ContentCase>);

TEST_F(BadInputTest, ATenMebibyteCommentIsATooLongRecord) {
    std::string comment(10 << 20, 'x');
    comment[40] = 'C';
    WriteBytes(dir / "load.dat", ProductionLoad() + comment + "\r\n");
    const RunOutcome outcome = Run(dir / "load.dat");
    ASSERT_EQ(outcome.status, RunStatus::Validated);
    const auto tooLong =
        std::find_if(observer.findings.begin(), observer.findings.end(), [](const auto& finding) {
            return finding.message == "Invalid Record Length of  10485762 for Type 'C'";
        });
    ASSERT_NE(tooLong, observer.findings.end());
    EXPECT_EQ(tooLong->lineNumber, 49);
    EXPECT_NE(ReadBytes(dir / "load.err").find("Data=" + comment + "\r\n"), std::string::npos);
}

TEST_F(BadInputTest, EveryMixOfLineEndsGivesTheResultsOfCrLf) {
    const std::string crLf = ProductionLoad();
    const std::function<std::string(int)> mixes[] = {
        [](int) { return "\n"; },
        [](int) { return "\r"; },
        [](int line) {
            return std::string(line % 3 == 0 ? "\r\n" : line % 3 == 1 ? "\n" : "\r");
        },
    };
    WriteBytes(dir / "load.dat", crLf);
    ASSERT_EQ(Run(dir / "load.dat").status, RunStatus::Validated);
    const std::string expected = ReadBytes(dir / "load.err");
    ASSERT_NE(expected, "");
    for (const auto& end : mixes) {
        WriteBytes(dir / "load.dat", WithLineEnds(crLf, end));
        EXPECT_EQ(Run(dir / "load.dat").status, RunStatus::Validated);
        EXPECT_EQ(ReadBytes(dir / "load.err"), expected);
    }
}

// ---- Load files that cannot be read -------------------------------------------------------------

struct UnreadableCase {
    const char* what;
    std::function<fs::path(const fs::path& folder)>
        make;  ///< returns the load path, or empty to skip
    const char* reason;
    RunStatus status = RunStatus::Unreadable;
};

class UnreadableLoadTest : public BadInputTest,
                           public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableLoadTest, IsUnreadableWithTheReason) {
    const fs::path load = GetParam().make(dir.path());
    if (load.empty()) GTEST_SKIP() << "not possible here";
    const bool local = load.parent_path() == dir.path();
    const RunOutcome outcome = local ? RunTouchingOnlyTheOutputs(load) : Run(load);
    EXPECT_EQ(outcome.status, GetParam().status);
    EXPECT_NE(outcome.problem.find(QuotedPath(load)), std::string::npos) << outcome.problem;
    EXPECT_NE(outcome.problem.find(GetParam().reason), std::string::npos) << outcome.problem;
    EXPECT_TRUE(observer.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Loads, UnreadableLoadTest,
    ::testing::Values(
        UnreadableCase{"missing", [](const fs::path& folder) { return folder / "none.dat"; },
                       "No such file or directory"},
        UnreadableCase{"a folder",
                       [](const fs::path& folder) {
                           fs::create_directory(folder / "folder.dat");
                           WriteBytes(folder / "folder.dat" / "inside.dat", std::string(400, 'x'));
                           return folder / "folder.dat";
                       },
                       "it is a folder", RunStatus::Refused},
        UnreadableCase{"a FIFO (reading it would wait for a writer)",
                       [](const fs::path& folder) {
                           ::mkfifo((folder / "fifo.dat").c_str(), 0600);
                           return folder / "fifo.dat";
                       },
                       "it is not a file"},
        UnreadableCase{"without read permission",
                       [](const fs::path& folder) {
                           if (::geteuid() == 0) return fs::path();  // permissions do not bind root
                           WriteBytes(folder / "locked.dat", ProductionLoad());
                           fs::permissions(folder / "locked.dat", fs::perms::owner_write);
                           return folder / "locked.dat";
                       },
                       "Permission denied"},
        UnreadableCase{"a file nobody may read",
                       [](const fs::path&) {
                           return fs::exists(kUnreadableForEveryone) ? kUnreadableForEveryone
                                                                     : fs::path();
                       },
                       "Permission denied"}),
    CaseName<UnreadableCase>);

// ---- The load file changes between the two passes -----------------------------------------------

struct ChangeCase {
    const char* what;
    std::function<void(const fs::path& load)> change;
};

class ChangedBetweenPassesTest : public BadInputTest,
                                 public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangedBetweenPassesTest, IsUnreadableAndLeavesNoOutputs) {
    const fs::path load = dir / "load.dat";
    WriteBytes(load, ProductionLoad());
    observer.onPhase = [&](RunPhase phase) {
        if (phase == RunPhase::Validating) GetParam().change(load);
    };
    const RunOutcome outcome = Run(load);
    EXPECT_EQ(outcome.status, RunStatus::Unreadable);
    EXPECT_NE(outcome.problem.find(QuotedPath(load)), std::string::npos) << outcome.problem;
    EXPECT_NE(outcome.problem.find("the file changed while it was being validated"),
              std::string::npos)
        << outcome.problem;
    EXPECT_FALSE(outcome.resultsWritten || outcome.reportWritten);
    Listing after = ListFolder(dir.path());
    after.erase("load.dat");
    EXPECT_EQ(after, (Listing{{"neighbour.txt", "not to be touched"}}));
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangedBetweenPassesTest,
                         ::testing::Values(ChangeCase{"truncated",
                                                      [](const fs::path& load) {
                                                          fs::resize_file(load,
                                                                          fs::file_size(load) / 2);
                                                      }},
                                           ChangeCase{"grown",
                                                      [](const fs::path& load) {
                                                          WriteBytes(load, ProductionLoad() +
                                                                               ProductionLoad());
                                                      }}),
                         CaseName<ChangeCase>);

// The run reads the file it opened to its end, whatever the name leads to meanwhile.
TEST_F(BadInputTest, AFileRemovedOrReplacedBetweenThePassesIsTheOneValidated) {
    const fs::path load = dir / "load.dat";
    WriteBytes(load, ProductionLoad());
    const RunOutcome expected = Run(load);
    const std::string results = ReadBytes(dir / "load.err");
    observer.onPhase = [&](RunPhase phase) {
        if (phase != RunPhase::Validating) return;
        fs::remove(load);
        fs::create_directory(load);
    };
    const RunOutcome outcome = Run(load);
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_EQ(outcome.findingCount, expected.findingCount);
    EXPECT_EQ(ReadBytes(dir / "load.err"), results);
}

TEST_F(BadInputTest, ALongLineMetOnlyByTheMainPassDiscardsWhatWasWritten) {
    const fs::path load = dir / "load.dat";
    const std::string shortLines =
        ProductionLoad() + Repeated(std::string(98, ' ') + "\r\n", 180'000);
    std::string longLine = ProductionLoad();
    longLine.resize(shortLines.size(), ' ');
    ASSERT_GT(shortLines.size() - ProductionLoad().size(), kMaxLineLength);
    WriteBytes(load, shortLines);
    observer.onPhase = [&](RunPhase phase) {
        if (phase == RunPhase::Validating) WriteBytes(load, longLine);
    };
    const RunOutcome outcome = Run(load);
    EXPECT_EQ(outcome.status, RunStatus::TooLarge);
    EXPECT_NE(outcome.problem.find("line 49 is longer than 16 MiB"), std::string::npos)
        << outcome.problem;
    EXPECT_FALSE(observer.findings.empty());
    EXPECT_FALSE(outcome.resultsWritten);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
}

TEST_F(BadInputTest, AFileRewrittenWithTheSameBytesIsValidated) {
    const fs::path load = dir / "load.dat";
    WriteBytes(load, ProductionLoad());
    observer.onPhase = [&](RunPhase phase) {
        if (phase == RunPhase::Validating) WriteBytes(load, ProductionLoad());
    };
    EXPECT_EQ(Run(load).status, RunStatus::Validated);
}

// ---- Outputs that cannot be written
// --------------------------------------------------------------

struct OutputCase {
    const char* what;
    /// Prepares the folder; returns false to skip.
    std::function<bool(const fs::path& folder)> prepare;
    bool resultsFail;
    bool reportFail;
    const char* reason;
};

class UnwritableOutputTest : public BadInputTest,
                             public ::testing::WithParamInterface<OutputCase> {};

TEST_P(UnwritableOutputTest, TheOutcomeNamesTheFileAndWhyAndNoOutputIsLeft) {
    const OutputCase& test = GetParam();
    fs::create_directory(dir / "data");
    const fs::path load = dir / "data" / "load.dat";
    WriteBytes(load, ProductionLoad());
    if (!test.prepare(dir / "data")) GTEST_SKIP() << "permissions do not bind the superuser";
    const Listing before = ListFolder(dir.path());
    const RunOutcome outcome = Run(load);
    fs::permissions(dir / "data", fs::perms::owner_all);
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_EQ(observer.lines.size(), kProductionLoadLines);
    EXPECT_EQ(outcome.resultsStatus.ok(), !test.resultsFail) << outcome.resultsStatus.message();
    EXPECT_EQ(outcome.reportStatus.ok(), !test.reportFail) << outcome.reportStatus.message();
    for (const auto& [failed, status, path] :
         {std::tuple(test.resultsFail, &outcome.resultsStatus, outcome.paths.results),
          std::tuple(test.reportFail, &outcome.reportStatus, outcome.paths.report)}) {
        if (!failed) continue;
        EXPECT_NE(status->message().find(QuotedPath(path)), std::string::npos) << status->message();
        EXPECT_NE(status->message().find(test.reason), std::string::npos) << status->message();
    }
    // Both outputs or neither: a results file that fails takes the report with it.
    EXPECT_FALSE(outcome.resultsWritten || outcome.reportWritten);
    EXPECT_EQ(ListFolder(dir.path()), before);
}

bool MakeFolder(const fs::path& path) {
    fs::create_directory(path);
    WriteBytes(path / "inside.txt", "kept");
    return true;
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, UnwritableOutputTest,
    ::testing::Values(
        OutputCase{"the results path is a folder",
                   [](const fs::path& folder) { return MakeFolder(folder / "load.err"); }, true,
                   false, "is a folder, not a file"},
        OutputCase{"the report path is a folder",
                   [](const fs::path& folder) { return MakeFolder(folder / "load.dst"); }, false,
                   true, "is a folder, not a file"},
        OutputCase{"a read-only folder",
                   [](const fs::path& folder) {
                       if (::geteuid() == 0) return false;
                       fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
                       return true;
                   },
                   true, false, "Permission denied"}),
    CaseName<OutputCase>);

// Old outputs in a read-only folder can be neither deleted nor replaced: both stay as they were,
// and the outcome names each and why.
TEST_F(BadInputTest, OldOutputsThatCannotBeDeletedAreReportedAndKept) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    fs::create_directory(dir / "data");
    WriteBytes(dir / "data" / "load.dat", ProductionLoad());
    WriteBytes(dir / "data" / "load.err", "old results");
    WriteBytes(dir / "data" / "load.dst", "old report");
    fs::permissions(dir / "data", fs::perms::owner_read | fs::perms::owner_exec);
    const Listing before = ListFolder(dir.path());
    const RunOutcome outcome = Run(dir / "data" / "load.dat");
    fs::permissions(dir / "data", fs::perms::owner_all);
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_EQ(outcome.resultsStatus.message(),
              "Cannot delete " + QuotedPath(dir / "data" / "load.err") + ": Permission denied");
    EXPECT_EQ(outcome.reportStatus.message(),
              "Cannot delete " + QuotedPath(dir / "data" / "load.dst") + ": Permission denied");
    EXPECT_FALSE(outcome.resultsWritten || outcome.reportWritten);
    EXPECT_EQ(ListFolder(dir.path()), before);
}

// ---- Symbolic links at the output paths
// ------------------------------------------------------------

TEST_F(BadInputTest, AnOldLinkAtAnOutputPathIsRemovedAndItsTargetKept) {
    WriteBytes(dir / "victim.txt", "precious");
    fs::create_symlink(dir / "victim.txt", dir / "load.err");
    fs::create_symlink(dir / "victim.txt", dir / "load.dst");
    WriteBytes(dir / "load.dat", ProductionLoad());
    const RunOutcome outcome = Run(dir / "load.dat");
    EXPECT_TRUE(outcome.resultsWritten);
    EXPECT_TRUE(outcome.reportWritten);
    EXPECT_FALSE(fs::is_symlink(dir / "load.err"));
    EXPECT_FALSE(fs::is_symlink(dir / "load.dst"));
    EXPECT_EQ(ReadBytes(dir / "victim.txt"), "precious");
}

TEST_F(BadInputTest, ALinkThatAppearsDuringTheRunIsReplacedNotWrittenThrough) {
    WriteBytes(dir / "victim.txt", "precious");
    WriteBytes(dir / "load.dat", ProductionLoad());
    observer.onPhase = [&](RunPhase phase) {
        if (phase != RunPhase::Registering) return;
        fs::create_symlink(dir / "victim.txt", dir / "load.err");
        fs::create_hard_link(dir / "victim.txt", dir / "load.dst");
    };
    const RunOutcome outcome = Run(dir / "load.dat");
    EXPECT_EQ(outcome.status, RunStatus::Validated);
    EXPECT_TRUE(outcome.resultsWritten && outcome.reportWritten);
    EXPECT_FALSE(fs::is_symlink(dir / "load.err"));
    EXPECT_NE(ReadBytes(dir / "load.dst"), "precious");
    EXPECT_EQ(ReadBytes(dir / "victim.txt"), "precious");
}

// ---- Paths
// ------------------------------------------------------------------------------------------

struct PathCase {
    const char* what;
    /// Makes the load file (and whatever else the case needs); returns its path.
    std::function<fs::path(const fs::path& folder)> make;
    RunStatus status;
    const char* results;  ///< the results path, relative to the folder
};

class LoadPathTest : public BadInputTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(LoadPathTest, EndsAsExpectedAndTouchesOnlyTheOutputs) {
    const fs::path load = GetParam().make(dir.path());
    if (GetParam().status == RunStatus::Refused) {
        // Refused before anything is deleted: not even the outputs change.
        const Listing before = ListFolder(dir.path());
        const RunOutcome outcome = Run(load);
        EXPECT_EQ(outcome.status, RunStatus::Refused);
        EXPECT_EQ(outcome.paths.results, dir / GetParam().results);
        EXPECT_NE(outcome.problem.find(QuotedPath(load)), std::string::npos) << outcome.problem;
        EXPECT_TRUE(observer.lines.empty());
        EXPECT_EQ(ListFolder(dir.path()), before);
        return;
    }
    const RunOutcome outcome = RunTouchingOnlyTheOutputs(load);
    EXPECT_EQ(outcome.status, GetParam().status) << outcome.problem;
    EXPECT_EQ(outcome.paths.results, dir / GetParam().results);
    EXPECT_TRUE(fs::exists(dir / GetParam().results));
    EXPECT_EQ(observer.lines.size(), kProductionLoadLines);
}

fs::path Write(const fs::path& path) {
    fs::create_directories(path.parent_path());
    WriteBytes(path, ProductionLoad());
    return path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LoadPathTest,
    ::testing::Values(PathCase{"named *.err",
                               [](const fs::path& folder) { return Write(folder / "x.err"); },
                               RunStatus::Refused, "x.err"},
                      PathCase{"named *.dst",
                               [](const fs::path& folder) {
                                   WriteBytes(folder / "x.err", "old results of another file");
                                   return Write(folder / "x.dst");
                               },
                               RunStatus::Refused, "x.err"},
                      PathCase{"a link to its own results path",
                               [](const fs::path& folder) {
                                   Write(folder / "x.err");
                                   fs::create_symlink("x.err", folder / "x.dat");
                                   return folder / "x.dat";
                               },
                               RunStatus::Refused, "x.err"},
                      PathCase{"a hard link of its own report path",
                               [](const fs::path& folder) {
                                   Write(folder / "x.dst");
                                   fs::create_hard_link(folder / "x.dst", folder / "x.dat");
                                   return folder / "x.dat";
                               },
                               RunStatus::Refused, "x.err"},
                      PathCase{"folders with dots",
                               [](const fs::path& folder) {
                                   return Write(folder / "data.2024" / "q1.v2" / "load.dat");
                               },
                               RunStatus::Validated, "data.2024/q1.v2/load.err"},
                      PathCase{"a name starting with a dot",
                               [](const fs::path& folder) { return Write(folder / ".load.dat"); },
                               RunStatus::Validated, ".err"},
                      PathCase{"a name without a dot",
                               [](const fs::path& folder) { return Write(folder / "load"); },
                               RunStatus::Validated, "load.err"}),
    CaseName<PathCase>);

// ---- Limits
// -------------------------------------------------------------------------------------------

TEST_F(BadInputTest, MoreRecordsThanTheLimitEndTheRunBeforeAnyOutput) {
    const std::string load = ProductionLoad();
    std::int64_t registered = 0;  // dose and intake records: "D" or "I" in character 41
    for (std::size_t start = 0; start < load.size(); start = load.find("\r\n", start) + 2) {
        registered +=
            load.size() > start + 40 && (load[start + 40] == 'D' || load[start + 40] == 'I');
    }
    WriteBytes(dir / "load.dat", load);
    // A line a chunk, and the whole file in one chunk: the limit falls inside it.
    for (const std::size_t bytes : {std::size_t{1}, kDefaultChunkBytes}) {
        chunkBytes = bytes;
        recordLimit = registered;
        EXPECT_EQ(Run(dir / "load.dat").status, RunStatus::Validated);

        recordLimit = registered - 1;
        observer.lines.clear();
        const RunOutcome outcome = RunTouchingOnlyTheOutputs(dir / "load.dat");
        EXPECT_EQ(outcome.status, RunStatus::TooLarge);
        EXPECT_NE(outcome.problem.find(QuotedPath(dir / "load.dat")), std::string::npos)
            << outcome.problem;
        EXPECT_NE(outcome.problem.find("more than " + std::to_string(registered - 1) +
                                       " dose and intake records"),
                  std::string::npos)
            << outcome.problem;
        EXPECT_TRUE(observer.lines.empty());
        EXPECT_FALSE(fs::exists(dir / "load.err"));
        EXPECT_FALSE(fs::exists(dir / "load.dst"));
    }
}

/// Throws std::bad_alloc where memory would run out: at a phase or a line.
struct MemoryCase {
    const char* what;
    std::optional<RunPhase> phase;
    std::int64_t line;
};

class OutOfMemoryTest : public BadInputTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(OutOfMemoryTest, EndsTheRunAsTooLargeWithoutOutputs) {
    WriteBytes(dir / "load.err", "old results");
    WriteBytes(dir / "load.dat", ProductionLoad());
    observer.onPhase = [&](RunPhase phase) {
        if (phase == GetParam().phase) throw std::bad_alloc();
    };
    observer.onLine = [&](std::int64_t line) {
        if (line == GetParam().line) throw std::bad_alloc();
    };
    const RunOutcome outcome = RunTouchingOnlyTheOutputs(dir / "load.dat");
    EXPECT_EQ(outcome.status, RunStatus::TooLarge);
    EXPECT_EQ(outcome.problem, "Cannot validate " + QuotedPath(dir / "load.dat") +
                                   ": there is not enough memory for it");
    EXPECT_FALSE(outcome.resultsWritten);
    EXPECT_FALSE(outcome.reportWritten);
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    EXPECT_FALSE(fs::exists(dir / "load.dst"));
    EXPECT_EQ(observer.phases.back(), RunPhase::Finished);
}

INSTANTIATE_TEST_SUITE_P(Places, OutOfMemoryTest,
                         ::testing::Values(MemoryCase{"registering", RunPhase::Registering, 0},
                                           // the results file is open by line 20: the file's first
                                           // findings are on lines 2, 10 and 13
                                           MemoryCase{"in the main pass", std::nullopt, 20},
                                           MemoryCase{"writing the report", RunPhase::Summarising,
                                                      0}),
                         CaseName<MemoryCase>);

}  // namespace
}  // namespace talveron
