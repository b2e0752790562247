#include "run/output_file.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/engine_test_support.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(OutputFileTest, NothingAppendedCreatesNothing) {
    TempDir dir;
    OutputFile file(dir / "out.err");
    EXPECT_FALSE(file.opened());
    EXPECT_TRUE(file.close().ok());
    EXPECT_FALSE(fs::exists(dir / "out.err"));
}

TEST(OutputFileTest, TheFirstAppendTruncatesOrCreatesTheFileAndLaterOnesAddToIt) {
    TempDir dir;
    WriteBytes(dir / "out.err", "an old and much longer content");
    OutputFile file(dir / "out.err");
    file.append("one\r\n");
    EXPECT_TRUE(file.opened());
    file.append("");
    file.append("two\r\n");
    EXPECT_TRUE(file.close().ok());
    EXPECT_TRUE(file.opened());  // it was opened in its life, even though it is closed now
    EXPECT_EQ(ReadBytes(dir / "out.err"), "one\r\ntwo\r\n");
}

TEST(OutputFileTest, LargeOutputArrivesWhole) {
    TempDir dir;
    std::string expected;
    {
        OutputFile file(dir / "big.dst");
        for (int i = 0; i < 5000; ++i) {
            const std::string line = std::to_string(i) + std::string(100, 'x') + "\r\n";
            file.append(line);
            expected += line;
        }
        EXPECT_TRUE(file.close().ok());
    }
    EXPECT_EQ(ReadBytes(dir / "big.dst"), expected);
}

TEST(OutputFileTest, TheDestructorWritesWhatIsBuffered) {
    TempDir dir;
    {
        OutputFile file(dir / "out.err");
        file.append("kept");
    }
    EXPECT_EQ(ReadBytes(dir / "out.err"), "kept");
}

TEST(OutputFileTest, ASymbolicLinkIsNotFollowed) {
    TempDir dir;
    WriteBytes(dir / "target.txt", "precious");
    fs::create_symlink(dir / "target.txt", dir / "out.err");
    OutputFile file(dir / "out.err");
    file.append("overwrite?");
    const Status status = file.close();
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
    EXPECT_NE(status.message().find((dir / "out.err").string()), std::string::npos)
        << status.message();
    EXPECT_EQ(ReadBytes(dir / "target.txt"), "precious");
    EXPECT_TRUE(fs::is_symlink(dir / "out.err"));
}

TEST(OutputFileTest, AFolderThatDoesNotExistIsAFailure) {
    TempDir dir;
    const fs::path path = dir / "missing" / "out.err";
    OutputFile file(path);
    file.append("x");
    file.append("y");
    const Status status = file.close();
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
    EXPECT_NE(status.message().find(path.string()), std::string::npos) << status.message();
}

TEST(OutputFileTest, AWriteFailureIsKeptAndReportedByClose) {
    // Small appends fail when close() writes them; large ones while appending.
    for (const std::size_t size : {std::size_t{3}, std::size_t{300 * 1024}}) {
        OutputFile file("/dev/full");
        file.append(std::string(size, 'x'));
        file.append(std::string(size, 'x'));
        const Status status = file.close();
        EXPECT_EQ(status.code(), Status::Code::WriteFailed) << size;
        EXPECT_NE(status.message().find("/dev/full"), std::string::npos) << status.message();
        EXPECT_EQ(file.close().code(), Status::Code::WriteFailed);  // the first failure again
    }
}

TEST(RemoveOldOutputTest, AFileIsDeletedAndAMissingOneIsFine) {
    TempDir dir;
    WriteBytes(dir / "old.err", "old");
    EXPECT_TRUE(RemoveOldOutput(dir / "old.err").ok());
    EXPECT_FALSE(fs::exists(dir / "old.err"));
    EXPECT_TRUE(RemoveOldOutput(dir / "old.err").ok());
}

TEST(RemoveOldOutputTest, AFolderIsNeverDeleted) {
    TempDir dir;
    fs::create_directory(dir / "old.err");
    WriteBytes(dir / "old.err" / "inside.txt", "x");
    fs::create_directory(dir / "empty.dst");
    const Status status = RemoveOldOutput(dir / "old.err");
    EXPECT_EQ(status.code(), Status::Code::NotAFile);
    EXPECT_NE(status.message().find((dir / "old.err").string()), std::string::npos);
    EXPECT_EQ(RemoveOldOutput(dir / "empty.dst").code(), Status::Code::NotAFile);
    EXPECT_TRUE(fs::exists(dir / "old.err" / "inside.txt"));
    EXPECT_TRUE(fs::is_directory(dir / "empty.dst"));
}

TEST(RemoveOldOutputTest, ASymbolicLinkIsDeletedNotItsTarget) {
    TempDir dir;
    WriteBytes(dir / "target.txt", "precious");
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "target.txt", dir / "old.err");
    fs::create_directory_symlink(dir / "folder", dir / "old.dst");
    fs::create_symlink(dir / "nowhere", dir / "dangling.err");
    EXPECT_TRUE(RemoveOldOutput(dir / "old.err").ok());
    EXPECT_TRUE(RemoveOldOutput(dir / "old.dst").ok());
    EXPECT_TRUE(RemoveOldOutput(dir / "dangling.err").ok());
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "old.err")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "old.dst")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "dangling.err")));
    EXPECT_EQ(ReadBytes(dir / "target.txt"), "precious");
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
}

TEST(RemoveOldOutputTest, AFileThatCannotBeDeletedIsAFailure) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    fs::create_directory(dir / "locked");
    WriteBytes(dir / "locked" / "old.err", "old");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const Status status = RemoveOldOutput(dir / "locked" / "old.err");
    fs::permissions(dir / "locked", fs::perms::owner_all);
    EXPECT_EQ(status.code(), Status::Code::WriteFailed);
    EXPECT_TRUE(fs::exists(dir / "locked" / "old.err"));
}

}  // namespace
}  // namespace talveron
