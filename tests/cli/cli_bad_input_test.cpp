// Whatever it is given, talveron-cli validates or says in one line on standard error which file
// it could not use and why, with exit status 2; it touches no file but the outputs of its load
// files.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "engine/line_reader.h"
#include "run/run_paths.h"
#include "support/cli_runner.h"
#include "support/folder_listing.h"
#include "support/temporary_directory.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::FileBytes;
using testing::ListFolder;
using testing::RunTalveronCli;
using testing::WriteBytes;

const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;
const fs::path kProductionConfig = kSampleData / "TALVERON.CFG";
/// A file that cannot be opened for reading even by the superuser (a write-only attribute).
const fs::path kUnreadableForEveryone = "/sys/bus/cpu/drivers_probe";

/// faulty.dat: errors on several lines, among them an invalid record type on line 45, which no
/// layout changes.
std::string ProductionLoad() { return FileBytes(kSampleData / "faulty.dat"); }

/// The dose records of a load file: "D" in character 41.
int DoseLines(const std::string& crLfText) {
    int count = 0;
    for (std::size_t begin = 0; begin < crLfText.size();) {
        const std::size_t end = std::min(crLfText.find("\r\n", begin), crLfText.size());
        count += end - begin >= 41 && crLfText[begin + 40] == 'D';
        begin = end + 2;
    }
    return count;
}

/// The records counted in the "Processed" column of a row of the text summary, or -1.
long long Processed(const std::string& summary, const std::string& row) {
    std::istringstream lines(summary);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  " + row + " ", 0) != 0) continue;
        std::istringstream fields(line.substr(row.size() + 2));
        std::string processed;
        fields >> processed;
        std::erase(processed, ',');
        return std::stoll(processed);
    }
    return -1;
}

/// What a case sets up in its folder.
struct Prepared {
    std::vector<std::string> arguments;
    std::vector<fs::path> mayChange;  ///< the outputs the run may create, replace or delete
    bool skip = false;                ///< the case cannot be made here
};

struct CliCase {
    const char* what;
    std::function<Prepared(const fs::path& folder)> prepare;
    int status;
    /// For status 2: the parts of the one line on standard error (the file, the reason).
    std::vector<std::string> errorParts = {};
    /// Anything else the case must show, given the folder and the run.
    std::function<void(const fs::path& folder, const CliRun& run)> alsoCheck = {};
};

std::ostream& operator<<(std::ostream& out, const CliCase& test) { return out << test.what; }

std::string CaseName(const ::testing::TestParamInfo<CliCase>& info) {
    std::string name = info.param.what;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

class CliBadInputTest : public ::testing::TestWithParam<CliCase> {};

TEST_P(CliBadInputTest, ValidatesOrSaysWhyInOneLineAndTouchesOnlyTheOutputs) {
    const CliCase& test = GetParam();
    testing::TemporaryDirectory directory;
    const Prepared prepared = test.prepare(directory.path());
    if (prepared.skip) GTEST_SKIP() << "not possible here";
    const testing::Listing before = ListFolder(directory.path(), prepared.mayChange);
    const CliRun run = RunTalveronCli(prepared.arguments);
    EXPECT_EQ(run.status, test.status) << run.err;
    if (test.status == 2) {
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.err.starts_with("talveron-cli: ")) << run.err;
        EXPECT_TRUE(run.err.ends_with("\n")) << run.err;
        for (const std::string& part : test.errorParts) {
            EXPECT_NE(run.err.find(part), std::string::npos)
                << "\"" << part << "\" not in " << run.err;
        }
    } else {
        EXPECT_EQ(run.err, "");
    }
    fs::permissions(directory.path(), fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(ListFolder(directory.path(), prepared.mayChange), before);
    if (test.alsoCheck) test.alsoCheck(directory.path(), run);
}

/// A load file with the production configuration; its outputs may change.
Prepared Validate(const fs::path& load) {
    const RunPaths paths = DeriveRunPaths(load);
    return {{"--config", kProductionConfig.string(), load.string()}, {paths.results, paths.report}};
}

Prepared ValidateBytes(const fs::path& folder, const std::string& bytes) {
    WriteBytes(folder / "load.dat", bytes);
    return Validate(folder / "load.dat");
}

/// faulty.dat with a configuration; its outputs may change.
Prepared ValidateWith(const fs::path& folder, const fs::path& config) {
    WriteBytes(folder / "load.dat", ProductionLoad());
    const RunPaths paths = DeriveRunPaths(folder / "load.dat");
    return {{"--config", config.string(), (folder / "load.dat").string()},
            {paths.results, paths.report}};
}

/// The production configuration with sections put in front: the first section of a name counts.
Prepared ValidateWithSections(const fs::path& folder, const std::string& sections) {
    WriteBytes(folder / "TALVERON.CFG", sections + FileBytes(kProductionConfig));
    return ValidateWith(folder, folder / "TALVERON.CFG");
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

bool IsRoot() { return ::geteuid() == 0; }

// ---- Load files and paths: one case for each way a run can end; every kind of input behind
// them is the engine's bad-input suite's. Here: the exit status and the one line that says why.

INSTANTIATE_TEST_SUITE_P(
    LoadFiles, CliBadInputTest,
    ::testing::Values(CliCase{"empty",
                              [](const fs::path& folder) { return ValidateBytes(folder, ""); },
                              2,
                              {"File is too small!", "/load.dat\" is too small"}},
                      CliCase{"only line ends",
                              [](const fs::path& folder) {
                                  return ValidateBytes(folder, std::string(400, '\n'));
                              },
                              1},
                      CliCase{"one line over 16 MiB",
                              [](const fs::path& folder) {
                                  return ValidateBytes(folder,
                                                       std::string(kMaxLineLength + 1, 'x'));
                              },
                              2,
                              {"Cannot validate \"", "/load.dat\": line 1 is longer than 16 MiB"}},
                      CliCase{"a folder",
                              [](const fs::path& folder) {
                                  fs::create_directory(folder / "folder.dat");
                                  return Validate(folder / "folder.dat");
                              },
                              2,
                              {"Refusing \"", "/folder.dat\": it is a folder, not a load file"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Paths, CliBadInputTest,
    ::testing::Values(
        CliCase{
            "a load file named err",
            [](const fs::path& folder) {
                WriteBytes(folder / "x.err", ProductionLoad());
                WriteBytes(folder / "x.dst", "an old report");
                return Prepared{
                    {"--config", kProductionConfig.string(), (folder / "x.err").string()}, {}};
            },
            2,
            {"Refusing \"", "/x.err\": its results file or report would be the load file itself"}},
        CliCase{"the results path is a folder",
                [](const fs::path& folder) {
                    fs::create_directory(folder / "load.err");
                    WriteBytes(folder / "load.err" / "inside.txt", "kept");
                    return ValidateBytes(folder, ProductionLoad());
                },
                2,
                {"results file not written: \"", "/load.err\" is a folder, not a file"}}),
    CaseName);

// ---- Configurations
// ---------------------------------------------------------------------------------

/// The dose records of faulty.dat are counted as such whatever the layouts say.
void CountsEveryDoseRecord(const fs::path&, const CliRun& run) {
    EXPECT_EQ(Processed(run.out, "Dose"), DoseLines(ProductionLoad())) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, CliBadInputTest,
    ::testing::Values(
        CliCase{"missing",
                [](const fs::path& folder) { return ValidateWith(folder, folder / "none.cfg"); },
                2,
                {"Configuration file invalid or not found! \"", "/none.cfg\" does not exist"}},
        CliCase{"a folder",
                [](const fs::path& folder) {
                    fs::create_directory(folder / "TALVERON.CFG");
                    return ValidateWith(folder, folder / "TALVERON.CFG");
                },
                2,
                {"Configuration file invalid or not found! Cannot read \"",
                 "/TALVERON.CFG\": Is a directory"}},
        CliCase{"without read permission",
                [](const fs::path& folder) {
                    WriteBytes(folder / "TALVERON.CFG", FileBytes(kProductionConfig));
                    fs::permissions(folder / "TALVERON.CFG", fs::perms::owner_write);
                    Prepared setup = ValidateWith(folder, folder / "TALVERON.CFG");
                    setup.skip = IsRoot();
                    return setup;
                },
                2,
                {"Configuration file invalid or not found! Cannot read \"",
                 "/TALVERON.CFG\": Permission denied"}},
        CliCase{"a file nobody may read",
                [](const fs::path& folder) {
                    Prepared setup = ValidateWith(folder, kUnreadableForEveryone);
                    setup.skip = !fs::exists(kUnreadableForEveryone);
                    return setup;
                },
                2,
                {"Cannot read " + Quoted(kUnreadableForEveryone) + ": Permission denied"}},
        CliCase{"a device that never ends",
                [](const fs::path& folder) { return ValidateWith(folder, "/dev/zero"); },
                2,
                {"Configuration file invalid or not found! Cannot read \"/dev/zero\": it is not a "
                 "regular file"}},
        CliCase{"a FIFO without a writer",
                [](const fs::path& folder) {
                    ::mkfifo((folder / "TALVERON.CFG").c_str(), 0600);
                    return ValidateWith(folder, folder / "TALVERON.CFG");
                },
                2,
                {"/TALVERON.CFG\": it is not a regular file"}},
        CliCase{"empty",
                [](const fs::path& folder) {
                    WriteBytes(folder / "TALVERON.CFG", "");
                    return ValidateWith(folder, folder / "TALVERON.CFG");
                },
                2,
                {"Configuration file invalid or not found! \"",
                 "/TALVERON.CFG\" does not define all four record layouts"}},
        CliCase{"binary",
                [](const fs::path& folder) {
                    std::string bytes;
                    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7) % 256);
                    WriteBytes(folder / "TALVERON.CFG", bytes);
                    return ValidateWith(folder, folder / "TALVERON.CFG");
                },
                2,
                {"/TALVERON.CFG\" does not define all four record layouts"}},
        CliCase{"10,000 fields in a layout",
                [](const fs::path& folder) {
                    std::string layout = "[D]\n1=Employee_ID\n";
                    for (int k = 2; k <= 10000; ++k) layout += std::to_string(k) + "=Filler\n";
                    return ValidateWithSections(folder, layout + "[Filler]\nLen=1\n");
                },
                1,
                {},
                CountsEveryDoseRecord},
        CliCase{"Len negative, zero, huge and a word",
                [](const fs::path& folder) {
                    return ValidateWithSections(folder,
                                                "[Employee_ID]\nLen=-5\n[First_Name]\nLen=0\n"
                                                "[Last_Name]\nLen=99999\n[TEDE]\nLen=ten\n");
                },
                1,
                {},
                CountsEveryDoseRecord},
        CliCase{"a field name longer than 24 characters",
                [](const fs::path& folder) {
                    return ValidateWithSections(
                        folder,
                        "[D]\n1=An_Employee_Identifier_Of_40_Characters\n"
                        "[An_Employee_Identifier_Of_40_Characters]\nLen=12\n");
                },
                1,
                {},
                CountsEveryDoseRecord},
        CliCase{"duplicate sections and keys",
                [](const fs::path& folder) {
                    return ValidateWithSections(
                        folder, "[OutputOptions]\nGRF=0\nGRF=-1\n[outputoptions]\nGRF=-1\n");
                },
                1,
                {},
                [](const fs::path& folder, const CliRun& run) {
                    // The first key of the first section counts: no results file.
                    EXPECT_FALSE(fs::exists(folder / "load.err"));
                    EXPECT_NE(run.out.find("Results:  none written"), std::string::npos) << run.out;
                }},
        CliCase{"layouts that never reach character 41",
                [](const fs::path& folder) {
                    return ValidateWithSections(
                        folder,
                        "[H]\n1=Short\n[D]\n1=Short\n[I]\n1=Short\n[C]\n1=Short\n"
                        "[Short]\nLen=5\n");
                },
                1,
                {},
                CountsEveryDoseRecord},
        CliCase{"option values out of range or words",
                [](const fs::path& folder) {
                    return ValidateWithSections(
                        folder,
                        "[AutoCancel]\nTE=yes\nTE_VAL=99999999\nTW=-1e9\nTW_VAL=1e99\n"
                        "[ValidationOptions]\nIRT=70000\nIRL=word\n");
                },
                1,
                {},
                [](const fs::path& folder, const CliRun& run) {
                    // IRT=70000 reads as on, IRL=word as off; TW is on with a limit of 32767.
                    EXPECT_NE(run.out.find("validated, errors found"), std::string::npos)
                        << run.out;
                    const std::string results = FileBytes(folder / "load.err");
                    EXPECT_NE(results.find("Msg=Invalid Record Type 'd'"), std::string::npos);
                    EXPECT_EQ(results.find("Msg=Invalid Record Length"), std::string::npos);
                }}),
    CaseName);

}  // namespace
}  // namespace talveron
