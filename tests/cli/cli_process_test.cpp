// talveron-cli as a process: what only a real process has (signals, standard descriptors, a
// current folder, pipes) and the set-up that tests in-process cannot reach.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/load_generator.h"
#include "cli/cli_runner.h"
#include "config/default_configuration.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TemporaryDirectory;
using testing::WriteBytes;

const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;
const std::string kConfig = (kSampleData / "TALVERON.CFG").string();

/// Starts talveron-cli in `folder` with the arguments; standard output goes to `out` (to
/// /dev/null when -1), standard error to the file "stderr" in the folder unless `closeError`.
pid_t Start(const std::vector<std::string>& arguments, const fs::path& folder, int out,
            bool closeError = false) {
    std::vector<std::string> all = {TALVERON_CLI_PATH, "--config", kConfig, "--as-of", "20250301"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    if (out >= 0) {
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    if (closeError) {
        posix_spawn_file_actions_addclose(&actions, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, (folder / "stderr").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    pid_t pid = -1;
    posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int ExitStatus(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

/// The names in the folder that are temporary outputs.
std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".talveron-") != std::string::npos) names.push_back(name);
    }
    return names;
}

class InterruptTest : public ::testing::Test {
protected:
    InterruptTest() {
        const auto configuration = bench::GeneratorConfiguration::Load(
            IniDocument(std::string(DefaultConfigurationText())));
        std::ofstream out(dir / "big.dat", std::ios::binary);
        bench::WriteLoadFile(configuration, {200'000, bench::FaultShare::All, 1}, out);
    }

    /// Starts a run of big.dat and waits until its results file is being written.
    pid_t StartWriting() {
        const pid_t pid = Start({"--quiet", "big.dat"}, dir.path(), -1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Temporaries(dir.path()).empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(Temporaries(dir.path()).empty());
        return pid;
    }

    TemporaryDirectory dir;
};

TEST_F(InterruptTest, AnInterruptEndsTheRunAsCancelledWithItsResultsComplete) {
    const pid_t pid = StartWriting();
    ::kill(pid, SIGINT);
    EXPECT_EQ(ExitStatus(pid), 130);
    const std::string results = ReadBytes(dir / "big.err");
    EXPECT_TRUE(results.ends_with("\r\n")) << results.substr(results.size() - 40);
    EXPECT_NE(results.find("[ERROR]\r\nCount="), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "big.dst"));
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

TEST_F(InterruptTest, ASecondSignalEndsAtOnceAndLeavesNoTemporary) {
    const pid_t pid = StartWriting();
    // Two different signals: two of one kind may arrive as one.
    ::kill(pid, SIGTERM);
    ::kill(pid, SIGINT);
    const int status = ExitStatus(pid);
    EXPECT_TRUE(status == 130 || status == 143) << status;
    EXPECT_FALSE(fs::exists(dir / "big.err"));
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

TEST(CliProcessTest, MessagesNeverLandInAnOutputWhenStandardErrorIsClosed) {
    TemporaryDirectory dir;
    std::vector<std::string> arguments = {"--jobs", "4"};
    for (const char* name : {"a.dat", "b.dat", "c.dat", "d.dat"}) {
        fs::copy_file(kSampleData / "faulty.dat", dir / name);
        arguments.push_back(name);
        arguments.push_back(std::string("missing-") + name);
    }
    EXPECT_EQ(ExitStatus(Start(arguments, dir.path(), -1, true)), 2);
    for (const auto& [name, bytes] : testing::ListFolder(dir.path())) {
        EXPECT_EQ(bytes.find("talveron-cli"), std::string::npos) << name;
    }
}

TEST(CliProcessTest, AFullStandardOutputIsAFailureAndAClosedPipeIsNot) {
    TemporaryDirectory dir;
    fs::copy_file(kSampleData / "faulty.dat", dir / "faulty.dat");
    const int full = ::open("/dev/full", O_WRONLY);
    EXPECT_EQ(ExitStatus(Start({"--format", "json", "faulty.dat"}, dir.path(), full)), 2);
    ::close(full);
    EXPECT_EQ(ReadBytes(dir / "stderr"),
              "talveron-cli: cannot write to standard output: No space left on device\n");

    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    ::close(pipe[0]);  // the reader went away, as `| head -1` does
    EXPECT_EQ(ExitStatus(Start({"--format", "json", "faulty.dat"}, dir.path(), pipe[1])), 1);
    ::close(pipe[1]);
    EXPECT_EQ(ReadBytes(dir / "stderr"), "");
    EXPECT_TRUE(ReadBytes(dir / "faulty.err").starts_with("\r\n[1]\r\n"));
}

TEST(CliProcessTest, ARelativePathInAFolderThatIsGoneIsSaidNotACrash) {
    TemporaryDirectory dir;
    fs::create_directory(dir / "gone");
    const fs::path before = fs::current_path();
    fs::current_path(dir / "gone");
    fs::remove(dir / "gone");
    const testing::CliRun run = testing::RunTalveronCli({"--config", kConfig, "x.dat"});
    fs::current_path(before);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "talveron-cli: Error Reading Load File! Cannot read \"x.dat\": the current folder "
              "is gone (No such file or directory)\n");
}

TEST(CliProcessTest, InstallConfigInstallsOnceAndNeverOverwrites) {
    TemporaryDirectory dir;
    const fs::path configDirectory = dir / "talveron";
    testing::CliRun run = testing::RunTalveronCli({"--install-config"}, configDirectory);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(configDirectory / "TALVERON.CFG"), ReadBytes(kConfig));
    WriteBytes(configDirectory / "TALVERON.CFG", "[H]\r\n");
    run = testing::RunTalveronCli({"--install-config"}, configDirectory);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("left as it is"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadBytes(configDirectory / "TALVERON.CFG"), "[H]\r\n");
}

}  // namespace
}  // namespace talveron
