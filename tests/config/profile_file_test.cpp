#include "config/profile_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>

#include "support/test_support.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryDirectory;

constexpr auto WriteFile = testing::WriteBytes;
constexpr auto ReadFile = testing::ReadBytes;

int EntryCount(const fs::path& directory) {
    return static_cast<int>(std::distance(fs::directory_iterator(directory), {}));
}

fs::perms PermissionsOf(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::mask;
}

struct DirectoryCase {
    std::map<std::string, std::string> environment;
    const char* expected;
};

class ConfigurationDirectoryTest : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(ConfigurationDirectoryTest, PrefersAnAbsoluteXdgConfigHome) {
    const auto& variables = GetParam().environment;
    const auto lookup = [&](const char* name) -> const char* {
        const auto it = variables.find(name);
        return it == variables.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(ConfigurationDirectory(lookup), fs::path(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigurationDirectoryTest,
    ::testing::Values(
        DirectoryCase{{{"XDG_CONFIG_HOME", "/x/cfg"}, {"HOME", "/home/u"}}, "/x/cfg/talveron"},
        DirectoryCase{{{"XDG_CONFIG_HOME", "/x/cfg"}}, "/x/cfg/talveron"},
        DirectoryCase{{{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.config/talveron"},
        DirectoryCase{{{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}},
                      "/home/u/.config/talveron"},
        DirectoryCase{{{"HOME", "/home/u"}}, "/home/u/.config/talveron"},
        DirectoryCase{{{"XDG_CONFIG_HOME", "cfg"}}, ""}, DirectoryCase{{{"HOME", ""}}, ""},
        DirectoryCase{{{"HOME", "home/u"}}, ""}, DirectoryCase{{}, ""}));

TEST(LoadIniFileTest, ReadsTheBytesAsTheyAre) {
    const TemporaryDirectory directory;
    const std::string text = "[s]\r\nk=v\rj=\x1a\n\n[t]\nz=";
    WriteFile(directory / "a.cfg", text + std::string(1, '\0') + "end");
    IniDocument document;
    ASSERT_TRUE(LoadIniFile(directory / "a.cfg", document).ok());
    EXPECT_EQ(document.text(), text + std::string(1, '\0') + "end");
    EXPECT_EQ(document.find("s", "j"), "\x1a");
    EXPECT_EQ(document.find("t", "z"), std::string_view("\0end", 4));
}

TEST(LoadIniFileTest, ReportsEachFailureWithItsCodeAndThePath) {
    const TemporaryDirectory directory;
    WriteFile(directory / "plain", "x");
    const std::pair<fs::path, Status::Code> cases[] = {
        {directory / "missing.cfg", Status::Code::NotFound},
        {directory.path(), Status::Code::NotAFile},
        {directory / "plain" / "inside.cfg", Status::Code::ReadFailed},  // "Not a directory"
    };
    for (const auto& [path, code] : cases) {
        IniDocument document;
        const Status status = LoadIniFile(path, document);
        EXPECT_EQ(status.code(), code) << path;
        EXPECT_NE(status.message().find(QuotedPath(path)), std::string::npos) << status.message();
    }
}

// A device never ends and a FIFO's writer may never close it: only a regular file is read.
TEST(LoadIniFileTest, RefusesADeviceAndAFifoWithoutWaiting) {
    const TemporaryDirectory directory;
    const fs::path fifo = directory / "fifo.cfg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int holder = ::open(fifo.c_str(), O_RDWR);  // a writer that never closes
    for (const fs::path& path : {fs::path("/dev/zero"), fifo, directory / "link.cfg"}) {
        if (path.filename() == "link.cfg") fs::create_symlink(fifo, path);
        IniDocument document("[old]\n");
        auto loading = std::async(std::launch::async, [&] { return LoadIniFile(path, document); });
        ASSERT_NE(loading.wait_for(std::chrono::seconds(20)), std::future_status::timeout) << path;
        const Status status = loading.get();
        EXPECT_EQ(status.code(), Status::Code::NotAFile) << path;
        EXPECT_NE(status.message().find(QuotedPath(path) + ": it is not a regular file"),
                  std::string::npos)
            << status.message();
        EXPECT_EQ(document.text(), "[old]\n");
    }
    ::close(holder);
}

TEST(SaveIniFileTest, WritesANewFileReadableByAll) {
    const TemporaryDirectory directory;
    const IniDocument document("[s]\r\nk=v\r\n");
    ASSERT_TRUE(SaveIniFileAtomically(directory / "new.cfg", document).ok());
    EXPECT_EQ(ReadFile(directory / "new.cfg"), "[s]\r\nk=v\r\n");
    EXPECT_EQ(PermissionsOf(directory / "new.cfg"), fs::perms(0644));
    EXPECT_EQ(EntryCount(directory.path()), 1) << "temporary file left behind";
}

TEST(SaveIniFileTest, ReplacesAFileAndKeepsItsPermissions) {
    const TemporaryDirectory directory;
    const fs::path path = directory / "old.cfg";
    WriteFile(path, "a much longer old text than the new one\n");
    fs::permissions(path, fs::perms(0640));
    ASSERT_TRUE(SaveIniFileAtomically(path, IniDocument("[n]\n")).ok());
    EXPECT_EQ(ReadFile(path), "[n]\n");
    EXPECT_EQ(PermissionsOf(path), fs::perms(0640));
    EXPECT_EQ(EntryCount(directory.path()), 1);
}

TEST(SaveIniFileTest, ReplacesTheTargetOfASymbolicLinkAndKeepsTheLink) {
    const TemporaryDirectory directory;
    fs::create_directory(directory / "real");
    WriteFile(directory / "real" / "TALVERON.CFG", "old\n");
    fs::create_symlink("real/TALVERON.CFG", directory / "middle");
    fs::create_symlink(directory / "middle", directory / "link");
    ASSERT_TRUE(SaveIniFileAtomically(directory / "link", IniDocument("new\n")).ok());
    EXPECT_TRUE(fs::is_symlink(directory / "link"));
    EXPECT_TRUE(fs::is_symlink(directory / "middle"));
    EXPECT_EQ(ReadFile(directory / "real" / "TALVERON.CFG"), "new\n");
    EXPECT_EQ(EntryCount(directory / "real"), 1);
}

TEST(SaveIniFileTest, CreatesTheTargetOfADanglingLink) {
    const TemporaryDirectory directory;
    fs::create_symlink("target.cfg", directory / "link");
    ASSERT_TRUE(SaveIniFileAtomically(directory / "link", IniDocument("new\n")).ok());
    EXPECT_TRUE(fs::is_symlink(directory / "link"));
    EXPECT_EQ(ReadFile(directory / "target.cfg"), "new\n");
}

TEST(SaveIniFileTest, FailsOnALinkLoop) {
    const TemporaryDirectory directory;
    fs::create_symlink("b", directory / "a");
    fs::create_symlink("a", directory / "b");
    const Status status = SaveIniFileAtomically(directory / "a", IniDocument("new\n"));
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
    EXPECT_EQ(EntryCount(directory.path()), 2);
}

TEST(SaveIniFileTest, FailureLeavesTheTargetAndNoTemporaryFile) {
    // Renaming a file over a directory fails even for the superuser.
    const TemporaryDirectory directory;
    fs::create_directory(directory / "taken.cfg");
    const Status status = SaveIniFileAtomically(directory / "taken.cfg", IniDocument("x\n"));
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
    EXPECT_NE(status.message().find((directory / "taken.cfg").string()), std::string::npos)
        << status.message();
    EXPECT_TRUE(fs::is_directory(directory / "taken.cfg"));
    EXPECT_EQ(EntryCount(directory.path()), 1);
}

TEST(SaveIniFileTest, FailsInAMissingDirectory) {
    const TemporaryDirectory directory;
    const Status status = SaveIniFileAtomically(directory / "gone" / "a.cfg", IniDocument("x"));
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
    EXPECT_NE(status.message().find("No such file or directory"), std::string::npos)
        << status.message();
}

// A shared configuration (root:group 0660) saved by a member of the group.
struct SharedSaveCase {
    const char* what;
    fs::perms folder;  ///< the folder's mode: whether the member may create the new file there
    rlim_t fileSize;   ///< the member's file-size limit: a small one makes writing fail
    bool saved;        ///< the new text is there; else the old one, restored
};

void PrintTo(const SharedSaveCase& test, std::ostream* out) { *out << test.what; }

class SharedSaveTest : public ::testing::TestWithParam<SharedSaveCase> {};

TEST_P(SharedSaveTest, KeepsOwnerGroupAndModeOrTheOldBytes) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to set up another user";
    constexpr gid_t kGroup = 4242;
    const TemporaryDirectory directory;
    const fs::path path = directory / "TALVERON.CFG";
    WriteFile(path, "[old]\n");
    ASSERT_EQ(::chown(path.c_str(), 0, kGroup), 0);
    fs::permissions(path, fs::perms(0660));
    fs::permissions(directory.path(), GetParam().folder);
    const std::string text(200, 'n');
    // As root the new file can carry any owner; as the member it cannot.
    for (const bool member : {false, true}) {
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit limit{GetParam().fileSize, GetParam().fileSize};
            ::signal(SIGXFSZ, SIG_IGN);
            const bool dropped = !member || (::setgroups(1, &kGroup) == 0 &&
                                             ::setgid(kGroup) == 0 && ::setuid(4242) == 0);
            if (member) ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(dropped && SaveIniFileAtomically(path, IniDocument(text)).ok() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        const bool saved = !member || GetParam().saved;
        EXPECT_EQ(WEXITSTATUS(status), saved ? 0 : 1) << GetParam().what << member;
        EXPECT_EQ(ReadFile(path), saved ? text : "[old]\n") << GetParam().what << member;
        struct stat info {};
        ::stat(path.c_str(), &info);
        EXPECT_EQ(info.st_uid, 0u);
        EXPECT_EQ(info.st_gid, kGroup);
        EXPECT_EQ(info.st_mode & 0777, 0660u);
        EXPECT_EQ(EntryCount(directory.path()), 1);
        WriteFile(path, "[old]\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Members, SharedSaveTest,
    ::testing::Values(SharedSaveCase{"folder open to all", fs::perms(0777), RLIM_INFINITY, true},
                      SharedSaveCase{"folder of root only", fs::perms(0755), RLIM_INFINITY, true},
                      SharedSaveCase{"writing fails", fs::perms(0755), 100, false}));

struct ModeCase {
    fs::perms mode;
    bool replaced;
};

class SaveOverModeTest : public ::testing::TestWithParam<ModeCase> {};

// Checked on the mode bits, so that it holds for the superuser too, whom the system lets write.
TEST_P(SaveOverModeTest, AFileWithoutWritePermissionIsReadOnlyAndKept) {
    const TemporaryDirectory directory;
    const fs::path path = directory / "TALVERON.CFG";
    WriteFile(path, "old\n");
    fs::permissions(path, GetParam().mode);
    fs::create_symlink(path, directory / "link.cfg");
    for (const fs::path& saved : {path, directory / "link.cfg"}) {
        const Status status = SaveIniFileAtomically(saved, IniDocument("new\n"));
        EXPECT_EQ(status.ok(), GetParam().replaced) << status.message();
        EXPECT_EQ(ReadFile(path), GetParam().replaced ? "new\n" : "old\n");
        EXPECT_EQ(PermissionsOf(path), GetParam().mode);
        EXPECT_EQ(EntryCount(directory.path()), 2) << "temporary file left behind";
        if (GetParam().replaced) {
            WriteFile(path, "old\n");
            continue;
        }
        EXPECT_EQ(status.code(), Status::Code::WriteFailed);
        EXPECT_EQ(status.message(), "Cannot write " + QuotedPath(path) + ": the file is read-only");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SaveOverModeTest,
    ::testing::Values(ModeCase{fs::perms(0444), false}, ModeCase{fs::perms(0400), false},
                      ModeCase{fs::perms(0440), false}, ModeCase{fs::perms(0644), true},
                      ModeCase{fs::perms(0600), true}, ModeCase{fs::perms(0464), true}));

TEST(WriteProfileValueFileTest, ARefusedSaveKeepsTheReadOnlyFile) {
    const TemporaryDirectory directory;
    const fs::path path = directory / "TALVERON.CFG";
    WriteFile(path, "[AutoCancel]\nTE=0\n");
    fs::permissions(path, fs::perms(0444));
    const Status status = WriteProfileValue(path, "AutoCancel", "TE", "True");
    EXPECT_NE(status.message().find("is read-only"), std::string::npos) << status.message();
    EXPECT_EQ(ReadFile(path), "[AutoCancel]\nTE=0\n");
}

TEST(WriteProfileValueFileTest, StartsAMissingFileEmpty) {
    const TemporaryDirectory directory;
    ASSERT_TRUE(WriteProfileValue(directory / "TALVERON.CFG", "AutoCancel", "TE", "True").ok());
    EXPECT_EQ(ReadFile(directory / "TALVERON.CFG"), "[AutoCancel]\r\nTE=-1\r\n");
}

TEST(WriteProfileValueFileTest, ChangesOneKeyAndKeepsTheRest) {
    const TemporaryDirectory directory;
    const fs::path path = directory / "TALVERON.CFG";
    WriteFile(path, "; layouts\n[D]\n1=Employee_ID\n[ValidationOptions]\nAIC = -1 \nIRL=-1\n");
    ASSERT_TRUE(WriteProfileValue(path, "validationoptions", "aic", "False").ok());
    ASSERT_TRUE(WriteProfileValue(path, "ValidationOptions", "BDay", "0").ok());
    EXPECT_EQ(ReadFile(path),
              "; layouts\n[D]\n1=Employee_ID\n[ValidationOptions]\nAIC =0\nIRL=-1\nBDay=0\n");
}

TEST(WriteProfileValueFileTest, WritesNothingWhenTheFileCannotBeRead) {
    const TemporaryDirectory directory;
    fs::create_directory(directory / "TALVERON.CFG");
    const Status status = WriteProfileValue(directory / "TALVERON.CFG", "s", "k", "v");
    EXPECT_EQ(status.code(), Status::Code::NotAFile);
    EXPECT_TRUE(fs::is_empty(directory / "TALVERON.CFG"));
    EXPECT_EQ(EntryCount(directory.path()), 1);
}

TEST(WriteProfileValueFileTest, ReportsAFailedSave) {
    const TemporaryDirectory directory;
    const Status status = WriteProfileValue(directory / "gone" / "TALVERON.CFG", "s", "k", "v");
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
}

}  // namespace
}  // namespace talveron
