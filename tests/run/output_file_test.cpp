#include "run/output_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TemporaryDirectory;
using testing::WriteBytes;

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class OutputFileTest : public ::testing::Test {
protected:
    OutputFileTest() {
        WriteBytes(dir / "load.dat", "load");
        EXPECT_TRUE(RunFolder::Open(dir / "load.dat", folder).ok());
    }

    TemporaryDirectory dir;
    RunFolder folder;
};

TEST_F(OutputFileTest, TheOutputAppearsWholeOnlyWhenCommitted) {
    {
        OutputFile untouched(&folder, "none.err", "err", nullptr);
        EXPECT_TRUE(untouched.commit().ok());
    }
    OutputFile file(&folder, "load.err", "err", nullptr);
    file.append("first ");
    file.append(std::string(300 * 1024, 'x'));
    ASSERT_EQ(Names(dir.path()).size(), 2u);
    EXPECT_TRUE(Names(dir.path())[0].starts_with(".load.dat.talveron-err-"));
    EXPECT_FALSE(fs::exists(dir / "load.err"));
    ASSERT_TRUE(file.commit().ok());
    EXPECT_EQ(ReadBytes(dir / "load.err"), "first " + std::string(300 * 1024, 'x'));
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"load.dat", "load.err"}));
}

TEST_F(OutputFileTest, ALinkAtTheNameIsReplacedNeverWrittenThrough) {
    WriteBytes(dir / "precious.txt", "precious");
    fs::create_hard_link(dir / "precious.txt", dir / "load.err");
    fs::create_symlink(dir / "precious.txt", dir / "load.dst");
    for (const char* name : {"load.err", "load.dst"}) {
        OutputFile file(&folder, name, "err", nullptr);
        file.append("new");
        ASSERT_TRUE(file.commit().ok());
        EXPECT_EQ(ReadBytes(dir / name), "new");
        EXPECT_FALSE(fs::is_symlink(dir / name));
    }
    EXPECT_EQ(ReadBytes(dir / "precious.txt"), "precious");
}

TEST_F(OutputFileTest, AFailedWriteKeepsTheOldNameAndLeavesNoTemporary) {
    // A file-size limit makes writes fail as a full disk does.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    WriteBytes(dir / "load.err", "old");
    Status status;
    {
        TemporaryFileList temporaries(4);
        OutputFile file(&folder, "load.err", "err", &temporaries);
        file.append(std::string(5000, 'x'));
        status = file.commit();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
    EXPECT_NE(status.message().find((dir / "load.err").string()), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "load.err"), "old");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"load.dat", "load.err"}));
}

TEST_F(OutputFileTest, TheListedTemporaryIsRemovedByRemoveAll) {
    TemporaryFileList temporaries(1);
    OutputFile first(&folder, "load.err", "err", &temporaries);
    OutputFile second(&folder, "load.dst", "dst", &temporaries);  // beyond the list's room
    first.append("x");
    second.append("y");
    temporaries.removeAll();
    EXPECT_EQ(Names(dir.path()).size(), 2u);
    second.discard();
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"load.dat"}));
}

TEST_F(OutputFileTest, StaleTemporariesOfThisLoadFileOnlyAreRemoved) {
    const std::vector<std::string> others = {".load.dat.talveron-err-abc",
                                             ".other.dat.talveron-err-abcdef",
                                             "load.dat.talveron-dst-abcdef", "load.dat"};
    for (const std::string& name : others) WriteBytes(dir / name, "x");
    WriteBytes(dir / ".load.dat.talveron-err-abcdef", "stale");
    WriteBytes(dir / ".load.dat.talveron-dst-ABC123", "stale");
    fs::create_directory(dir / ".load.dat.talveron-dst-folder");
    RemoveStaleTemporaries(folder);
    std::vector<std::string> expected = others;
    expected.push_back(".load.dat.talveron-dst-folder");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dir.path()), expected);
}

TEST_F(OutputFileTest, OldOutputsAreRemovedButNeverAFolderOrALinksTarget) {
    WriteBytes(dir / "target.txt", "precious");
    WriteBytes(dir / "old.err", "old");
    fs::create_symlink(dir / "target.txt", dir / "old.dst");
    fs::create_directory(dir / "folder.err");
    EXPECT_TRUE(RemoveOldOutput(folder, "old.err").ok());
    EXPECT_TRUE(RemoveOldOutput(folder, "old.dst").ok());
    EXPECT_TRUE(RemoveOldOutput(folder, "missing.err").ok());
    const Status status = RemoveOldOutput(folder, "folder.err");
    EXPECT_EQ(status.code(), Status::Code::NotAFile);
    EXPECT_NE(status.message().find((dir / "folder.err").string()), std::string::npos);
    EXPECT_EQ(Names(dir.path()),
              (std::vector<std::string>{"folder.err", "load.dat", "target.txt"}));
}

}  // namespace
}  // namespace talveron
