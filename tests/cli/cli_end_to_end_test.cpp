#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/cli_runner.h"
#include "support/temporary_directory.h"

namespace talveron {
namespace {

using testing::CliRun;
using testing::ReadBytes;
using testing::RunTalveronCli;
using testing::TemporaryDirectory;
using testing::WriteBytes;

const std::filesystem::path kE2eData = std::filesystem::path(TALVERON_TEST_DATA_DIR) / "e2e";
const std::filesystem::path kProductionConfig =
    std::filesystem::path(TALVERON_SAMPLE_DATA_DIR) / "TALVERON.CFG";

/// The expected report names the load file on its second line; the fixture holds a placeholder.
std::string ExpectedReport(const std::filesystem::path& fixture,
                           const std::filesystem::path& loadPath) {
    std::string text = ReadBytes(fixture);
    const std::string placeholder = "@LOADPATH@";
    text.replace(text.find(placeholder), placeholder.size(), loadPath.string());
    return text;
}

struct GoldenCase {
    const char* name;
    std::filesystem::path load;
    std::filesystem::path config;
    const char* expectedResults;  // fixture name, or nullptr when no results file may exist
    const char* expectedReport;   // fixture name, or nullptr when no report may exist
    int status;
};

TEST(CliEndToEnd, ResultsFilesAndReportsMatchByteForByte) {
    const GoldenCase cases[] = {
        {"framing and record lengths", kE2eData / "framing-and-length.dat", kE2eData / "tiny.cfg",
         "framing-and-length.err", nullptr, 1},
        {"header too short is written as a warning", kE2eData / "short-header.dat",
         kE2eData / "tiny.cfg", "short-header.err", nullptr, 1},
        {"warnings left out: no results file, the error still counts",
         kE2eData / "short-header.dat", kE2eData / "tiny-no-warnings.cfg", nullptr, nullptr, 1},
        {"clean sample", std::filesystem::path(TALVERON_SAMPLE_DATA_DIR) / "sample.dat",
         kProductionConfig, nullptr, "production/sample.dst", 0},
        {"typical mistakes", std::filesystem::path(TALVERON_SAMPLE_DATA_DIR) / "faulty.dat",
         kProductionConfig, "production/faulty.err", "production/faulty.dst", 1},
    };
    for (const GoldenCase& test : cases) {
        SCOPED_TRACE(test.name);
        TemporaryDirectory directory;
        const std::filesystem::path load = directory.path() / test.load.filename();
        std::filesystem::copy_file(test.load, load);
        const CliRun run = RunTalveronCli(
            {"--config", test.config.string(), "--as-of", "20250301", "--quiet", load.string()});
        EXPECT_EQ(run.status, test.status) << run.err;
        EXPECT_EQ(run.out, "");

        const auto results = directory.path() / load.stem().replace_extension(".err");
        const auto report = directory.path() / load.stem().replace_extension(".dst");
        ASSERT_EQ(std::filesystem::exists(results), test.expectedResults != nullptr);
        if (test.expectedResults) {
            EXPECT_EQ(ReadBytes(results), ReadBytes(kE2eData / test.expectedResults));
        }
        ASSERT_EQ(std::filesystem::exists(report), test.expectedReport != nullptr);
        if (test.expectedReport) {
            EXPECT_EQ(ReadBytes(report), ExpectedReport(kE2eData / test.expectedReport, load));
        }
    }
}

TEST(CliEndToEnd, LineEndsOfEveryKindGiveTheSameResults) {
    TemporaryDirectory directory;
    const std::string crlf =
        ReadBytes(std::filesystem::path(TALVERON_SAMPLE_DATA_DIR) / "faulty.dat");
    std::string lf, cr;
    for (std::size_t i = 0; i < crlf.size(); ++i) {
        if (crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n') continue;
        lf += crlf[i];
        cr += crlf[i] == '\n' ? '\r' : crlf[i];
    }
    WriteBytes(directory.path() / "lf.dat", lf);
    WriteBytes(directory.path() / "cr.dat", cr);
    const CliRun run = RunTalveronCli(
        {"--config", kProductionConfig.string(), "--as-of", "20250301", "--quiet",
         (directory.path() / "lf.dat").string(), (directory.path() / "cr.dat").string()});
    EXPECT_EQ(run.status, 1) << run.err;
    const std::string expected = ReadBytes(kE2eData / "production/faulty.err");
    EXPECT_EQ(ReadBytes(directory.path() / "lf.err"), expected);
    EXPECT_EQ(ReadBytes(directory.path() / "cr.err"), expected);
}

TEST(CliEndToEnd, ParallelJobsAndThreadsWriteWhatOneJobOnOneThreadWrites) {
    TemporaryDirectory one, two;
    std::vector<std::string> sequential = {
        "--config", kProductionConfig.string(), "--as-of", "20250301", "--format", "gnu"};
    std::vector<std::string> parallel = sequential;
    sequential.insert(sequential.end(), {"--threads", "1"});
    parallel.insert(parallel.end(), {"--jobs", "2", "--threads", "3"});
    for (const char* name : {"faulty.dat", "sample.dat", "faulty.v2.dat"}) {
        const auto source = std::filesystem::path(TALVERON_SAMPLE_DATA_DIR) /
                            (std::string(name) == "faulty.v2.dat" ? "sample.dat" : name);
        for (const TemporaryDirectory* directory : {&one, &two}) {
            std::filesystem::copy_file(source, directory->path() / name);
        }
        sequential.push_back((one.path() / name).string());
        parallel.push_back((two.path() / name).string());
    }
    const CliRun first = RunTalveronCli(sequential);
    const CliRun second = RunTalveronCli(parallel);
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(second.status, 1);
    // faulty.v2.dat shares faulty.err and faulty.dst with faulty.dat and, being later on the
    // command line, leaves its own (clean) outcome: no results file, its report.
    EXPECT_FALSE(std::filesystem::exists(one.path() / "faulty.err"));
    EXPECT_FALSE(std::filesystem::exists(two.path() / "faulty.err"));
    const auto inSecond = [&](std::string text) {
        for (std::size_t at; (at = text.find(one.path().string())) != std::string::npos;) {
            text.replace(at, one.path().string().size(), two.path().string());
        }
        return text;
    };
    EXPECT_EQ(inSecond(ReadBytes(one.path() / "faulty.dst")), ReadBytes(two.path() / "faulty.dst"));
    EXPECT_NE(ReadBytes(one.path() / "faulty.dst").find("v2.dat"), std::string::npos);
    EXPECT_EQ(second.out, inSecond(first.out));
    EXPECT_NE(first.out.find("faulty.dat:45.41: error: Invalid Record Type 'd' [IRT]"),
              std::string::npos);
}

TEST(CliEndToEnd, WhatCannotBeValidatedIsSaidOnStandardErrorWithStatusTwo) {
    TemporaryDirectory directory;
    WriteBytes(directory.path() / "small.dat", std::string(322, 'x'));
    WriteBytes(directory.path() / "load.err", std::string(400, 'x'));
    std::filesystem::create_directory(directory.path() / "folder.dat");
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::string errorContains;
    };
    const std::string config = kProductionConfig.string();
    const Case cases[] = {
        {"no load file", {"--config", config}, "no load file given"},
        {"missing configuration",
         {"--config", (directory.path() / "none.cfg").string(), "x.dat"},
         "Configuration file invalid or not found!"},
        {"configuration without layouts",
         {"--config", (directory.path() / "small.dat").string(), "x.dat"},
         "Configuration file invalid or not found!"},
        {"too small",
         {"--config", config, (directory.path() / "small.dat").string()},
         "File is too small!"},
        {"missing load file",
         {"--config", config, (directory.path() / "none.dat").string()},
         "Error Reading Load File!"},
        {"a folder as load file",
         {"--config", config, (directory.path() / "folder.dat").string()},
         "it is a folder, not a load file"},
        {"results file would be the load file",
         {"--config", config, (directory.path() / "load.err").string()},
         "Refusing"},
    };
    for (const Case& test : cases) {
        const CliRun run = RunTalveronCli(test.arguments);
        EXPECT_EQ(run.status, 2) << test.name;
        EXPECT_NE(run.err.find(test.errorContains), std::string::npos)
            << test.name << ": " << run.err;
    }
    EXPECT_EQ(ReadBytes(directory.path() / "load.err"), std::string(400, 'x'));
}

TEST(CliEndToEnd, InstallConfigNeverOverwrites) {
    TemporaryDirectory directory;
    const auto configDirectory = directory.path() / "talveron";
    CliRun run = RunTalveronCli({"--install-config"}, configDirectory);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(configDirectory / "TALVERON.CFG"), ReadBytes(kProductionConfig));

    WriteBytes(configDirectory / "TALVERON.CFG", "[H]\r\n");
    run = RunTalveronCli({"--install-config"}, configDirectory);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("left as it is"), std::string::npos);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadBytes(configDirectory / "TALVERON.CFG"), "[H]\r\n");
}

TEST(CliBinary, RunsFromTheShellWithTheDocumentedExitStatus) {
    TemporaryDirectory directory;
    const auto load = directory.path() / "faulty.dat";
    std::filesystem::copy_file(std::filesystem::path(TALVERON_SAMPLE_DATA_DIR) / "faulty.dat",
                               load);
    const std::string command = std::string(TALVERON_CLI_PATH) + " --config '" +
                                kProductionConfig.string() + "' --as-of 20250301 --format csv '" +
                                load.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 4096> buffer{};
    while (const std::size_t count = fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), count);
    const int status = pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 23);  // header + 22 findings
    EXPECT_EQ(ReadBytes(directory.path() / "faulty.err"),
              ReadBytes(kE2eData / "production/faulty.err"));

    pipe = popen((std::string(TALVERON_CLI_PATH) + " --version").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    const std::size_t count = fread(buffer.data(), 1, buffer.size(), pipe);
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 0);
    EXPECT_EQ(std::string(buffer.data(), count).rfind("talveron-cli ", 0), 0u);
}

}  // namespace
}  // namespace talveron
