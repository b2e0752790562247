// Runs every folder of tests/data/cases through talveron-cli in-process and compares what it
// printed, its exit status and every file of its folder afterwards, byte for byte. The folder
// layout is described in tests/data/cases/README.md.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/load_generator.h"
#include "bench/loadgen_command.h"
#include "cli/cli_runner.h"
#include "config/default_configuration.h"
#include "config/ini_document.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::ListFolder;
using testing::Listing;
using testing::ReadBytes;
using testing::WriteBytes;

const fs::path kCases = fs::path(TALVERON_TEST_DATA_DIR) / "cases";

std::vector<std::string> LinesOf(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

/// The case's configuration: its config.cfg, or the shipped one after the sections of its
/// prepend.cfg (the first of a name counts) and with the keys of its overlay.cfg set.
std::string Configuration(const fs::path& folder) {
    if (fs::exists(folder / "config.cfg")) return ReadBytes(folder / "config.cfg");
    const std::string prepended =
        fs::exists(folder / "prepend.cfg") ? ReadBytes(folder / "prepend.cfg") : std::string();
    IniDocument configuration{prepended + std::string(DefaultConfigurationText())};
    std::string section;
    for (const std::string& line : LinesOf(folder / "overlay.cfg")) {
        if (line.starts_with('[')) {
            section = line.substr(1, line.find(']') - 1);
        } else if (const std::size_t equals = line.find('='); equals != std::string::npos) {
            configuration.setValue(section, line.substr(0, equals), line.substr(equals + 1));
        }
    }
    return configuration.text();
}

/// What the case's setup file asks for around the run.
struct Surroundings {
    bool configDirectory = true;
    bool configFile = true;
    std::vector<fs::path> locked;
    rlim_t fileSizeLimit = RLIM_INFINITY;
    std::map<std::string, std::string> variables;
    bool outputIsTerminal = false;
};

Surroundings Prepare(const fs::path& folder, const fs::path& work) {
    Surroundings surroundings;
    if (!fs::exists(folder / "setup")) return surroundings;
    for (const std::string& line : LinesOf(folder / "setup")) {
        std::vector<std::string> words = Words(line);
        const std::string verb = words.front();
        words.erase(words.begin());
        if (verb == "generate") {
            const bench::LoadgenCommand command = bench::ParseLoadgenCommand(words);
            const auto configuration = bench::GeneratorConfiguration::Load(
                IniDocument(std::string(DefaultConfigurationText())));
            std::ofstream out(work / command.output, std::ios::binary);
            bench::WriteLoadFile(configuration, command.settings, out);
        } else if (verb == "files-of") {
            fs::copy(kCases / words.at(0) / "files", work, fs::copy_options::recursive);
        } else if (verb == "lock") {
            surroundings.locked.push_back(work / words.at(0));
        } else if (verb == "file-size-limit") {
            surroundings.fileSizeLimit = std::stoull(words.at(0));
        } else if (verb == "hard-link") {
            fs::create_hard_link(work / words.at(0), work / words.at(1));
        } else if (verb == "fifo") {
            ::mkfifo((work / words.at(0)).c_str(), 0600);
        } else if (verb == "no-config-directory") {
            surroundings.configDirectory = false;
        } else if (verb == "no-config-file") {
            surroundings.configFile = false;
        } else if (verb == "env") {
            const std::size_t equals = words.at(0).find('=');
            surroundings.variables[words[0].substr(0, equals)] = words[0].substr(equals + 1);
        } else if (verb == "stdout-terminal") {
            surroundings.outputIsTerminal = true;
        } else {
            ADD_FAILURE() << "unknown setup step: " << line;
        }
    }
    return surroundings;
}

/// Runs the CLI in `work` with the surroundings in force, and takes them away again.
testing::CliRun RunIn(const fs::path& work, const std::vector<std::string>& arguments,
                      const Surroundings& surroundings, const fs::path& configDirectory) {
    std::vector<int> locks;
    for (const fs::path& file : surroundings.locked) {
        locks.push_back(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
        ::flock(locks.back(), LOCK_EX);
    }
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = surroundings.fileSizeLimit;
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const fs::path before = fs::current_path();
    fs::current_path(work);
    testing::CliRun run = testing::RunTalveronCli(
        arguments, configDirectory, surroundings.variables, surroundings.outputIsTerminal);
    fs::current_path(before);
    ::setrlimit(RLIMIT_FSIZE, &old);
    for (const int lock : locks) ::close(lock);
    return run;
}

/// Writes what the run did as the case's expectations (TALVERON_BLESS=1), for a new case or a
/// deliberate change; the diff is then read before it is committed.
void Bless(const fs::path& folder, const std::string& out, const std::string& err, int status,
           const Listing& before, const Listing& after,
           const std::function<std::string(std::string)>& unplaced) {
    const auto keep = [&](const char* name, const std::string& text) {
        if (text.empty()) {
            fs::remove(folder / name);
        } else {
            WriteBytes(folder / name, text);
        }
    };
    keep("stdout", out);
    keep("stderr", err);
    keep("status", status == 0 ? std::string() : std::to_string(status) + "\n");
    fs::remove_all(folder / "expected");
    std::string deleted;
    for (const auto& [name, bytes] : before) {
        if (!after.contains(name)) deleted += name + "\n";
    }
    keep("deleted", deleted);
    for (const auto& [name, bytes] : after) {
        const auto old = before.find(name);
        if (old != before.end() && old->second == bytes) continue;
        fs::create_directories((folder / "expected" / name).parent_path());
        if (bytes == "<folder>") {
            fs::create_directories(folder / "expected" / name);
        } else {
            WriteBytes(folder / "expected" / name, unplaced(bytes));
        }
    }
}

class CaseTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CaseTest, PrintsAndWritesExactlyWhatItsFolderExpects) {
    const fs::path folder = kCases / GetParam();
    testing::TemporaryDirectory scratch;
    const fs::path work = fs::canonical(scratch.path()) / "work";
    const fs::path configDirectory = fs::canonical(scratch.path()) / "config";
    fs::create_directories(configDirectory);
    WriteBytes(configDirectory / "TALVERON.CFG", Configuration(folder));
    if (fs::exists(folder / "files")) {
        fs::copy(folder / "files", work,
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    } else {
        fs::create_directory(work);
    }
    const Surroundings surroundings = Prepare(folder, work);
    if (!surroundings.configFile) fs::remove(configDirectory / "TALVERON.CFG");
    const auto placeholders = [&](std::string text) {
        return Replaced(Replaced(std::move(text), "{dir}", work.string()), "{config}",
                        configDirectory.string());
    };
    std::vector<std::string> arguments;
    for (const std::string& line : LinesOf(folder / "command"))
        arguments.push_back(placeholders(line));
    if (fs::exists(folder / "command") &&
        ReadBytes(folder / "command").find("\n\n") != std::string::npos)
        arguments.emplace_back();  // an empty line is an empty argument

    Listing expected = ListFolder(work);
    const testing::CliRun run =
        RunIn(work, arguments, surroundings, surroundings.configDirectory ? configDirectory : "");

    const auto unplaced = [&](std::string text) {
        return Replaced(Replaced(std::move(text), configDirectory.string(), "{config}"),
                        work.string(), "{dir}");
    };
    if (std::getenv("TALVERON_BLESS") != nullptr) {
        Bless(folder, unplaced(run.out), unplaced(run.err), run.status, expected, ListFolder(work),
              unplaced);
        return;
    }
    const auto expectedText = [&](const char* name) {
        return fs::exists(folder / name) ? ReadBytes(folder / name) : std::string();
    };
    EXPECT_EQ(unplaced(run.out), expectedText("stdout"));
    EXPECT_EQ(unplaced(run.err), expectedText("stderr"));
    const std::string status = expectedText("status");
    EXPECT_EQ(run.status, status.empty() ? 0 : std::stoi(status));

    if (fs::exists(folder / "deleted")) {
        for (const std::string& name : LinesOf(folder / "deleted")) expected.erase(name);
    }
    if (fs::exists(folder / "expected")) {
        for (const auto& [name, bytes] : ListFolder(folder / "expected")) {
            const bool marker = bytes == "<folder>" || bytes.starts_with("<link to ");
            expected[name] = marker ? bytes : placeholders(bytes);
        }
    }
    const Listing after = ListFolder(work);
    for (const auto& [name, bytes] : expected) {
        const auto found = after.find(name);
        if (found == after.end()) {
            ADD_FAILURE() << name << " is missing";
        } else if (found->second != bytes) {
            ADD_FAILURE() << name << " differs:\n" << unplaced(found->second);
        }
    }
    for (const auto& [name, bytes] : after) {
        if (!expected.contains(name)) ADD_FAILURE() << name << " should not be there";
    }
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kCases)) {
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseTest, ::testing::ValuesIn(CaseNames()), TestName);

}  // namespace
}  // namespace talveron
