#include <gtest/gtest.h>

#include <functional>

#include "setup/CheckedFile.h"
#include "setup/Failures.h"
#include "setup/PathHelpers.h"
#include "tests/support/TempDir.h"

namespace {

int CodeOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const EInOutError& e) {
        return e.ErrorCode();
    }
    return 0;
}

TEST(CheckedFile, OpenFailuresCarryWindowsCodes) {
    TempDir dir;
    CheckedFile file;
    EXPECT_EQ(CodeOf([&] { file.Open(JoinPath(dir.Dir(), "missing.bin"), 2); }), ErrorCode::FileNotFound);
    EXPECT_EQ(CodeOf([&] { file.Open(JoinPath(dir.Dir(), "no\\such\\dir.bin"), 2); }), ErrorCode::PathNotFound);
    EXPECT_EQ(CodeOf([&] { file.Create(JoinPath(dir.Dir(), "no\\x.bin")); }), ErrorCode::PathNotFound);
    std::filesystem::create_directory(dir.Root() / "sub");
    EXPECT_EQ(CodeOf([&] { file.Open(JoinPath(dir.Dir(), "sub"), 0); }), ErrorCode::AccessDenied);
}

TEST(CheckedFile, FileOpenModeGivesTheAccess) {
    TempDir dir;
    dir.Write("data.bin", "abc");
    const std::string path = JoinPath(dir.Dir(), "data.bin");
    char b = 0;
    CheckedFile file;
    file.Open(path, 0);  // read-only
    EXPECT_EQ(CodeOf([&] { file.Read(&b, 1); }), 0);
    EXPECT_NE(CodeOf([&] { file.Write("x", 1); }), 0);
    file.Open(path, 1);  // write-only
    EXPECT_NE(CodeOf([&] { file.Read(&b, 1); }), 0);
    EXPECT_EQ(CodeOf([&] { file.Write("x", 1); }), 0);
    file.Open(path, 9);  // above 2 counts as read-write
    EXPECT_EQ(CodeOf([&] { file.Read(&b, 1); }), 0);
    EXPECT_EQ(CodeOf([&] { file.Write("y", 1); }), 0);
    file.Close();
    EXPECT_EQ(dir.Read("data.bin"), Bytes({'x', 'y', 'c'}));
}

TEST(CheckedFile, ExactReadShortOfBytesIsCode100) {
    TempDir dir;
    dir.Write("data.bin", "abcdef");
    CheckedFile file;
    file.Open(JoinPath(dir.Dir(), "data.bin"), 0);
    char buffer[8] = {};
    file.ReadExact(buffer, 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_FALSE(file.Eof());
    EXPECT_EQ(CodeOf([&] { file.ReadExact(buffer, 4); }), ErrorCode::ReadBeyondEnd);
    EXPECT_TRUE(file.Eof());
}

TEST(CheckedFile, CreateCutsAnExistingFileAndWritesSeekTruncate) {
    TempDir dir;
    dir.Write("data.bin", "old content that is long");
    const std::string path = JoinPath(dir.Dir(), "data.bin");
    CheckedFile file;
    file.Create(path);
    EXPECT_EQ(file.Size(), 0);
    file.Write("0123456789", 10);
    file.Seek(4);
    EXPECT_EQ(file.Position(), 4);
    file.Truncate();
    file.Close();
    EXPECT_EQ(dir.Read("data.bin"), Bytes({'0', '1', '2', '3'}));
}

TEST(CheckedFile, NegativeSeekFails) {
    TempDir dir;
    dir.Write("data.bin", "abc");
    CheckedFile file;
    file.Open(JoinPath(dir.Dir(), "data.bin"), 0);
    EXPECT_EQ(CodeOf([&] { file.Seek(-25); }), ErrorCode::NegativeSeek);
}

TEST(CheckedFile, WithCheckingOffTheCodeWaitsForTheQuery) {
    TempDir dir;
    CheckedFile file;
    file.SetChecking(false);
    file.Open(JoinPath(dir.Dir(), "missing.bin"), 2);  // raises nothing
    EXPECT_EQ(file.TakeError(), ErrorCode::FileNotFound);
    EXPECT_EQ(file.TakeError(), 0);  // the query clears it
    file.Create(JoinPath(dir.Dir(), "new.bin"));
    EXPECT_EQ(file.TakeError(), 0);
    EXPECT_TRUE(dir.Exists("new.bin"));
}

TEST(CheckedFile, FullDiskIsReportedAsDiskFull) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    CheckedFile file;
    ASSERT_EQ(file.TryOpen("/dev/full", FileAccess::WriteOnly, FileSharing::None, FileDisposition::OpenExisting), 0);
    EXPECT_EQ(CodeOf([&] { file.Write("abc", 3); }), ErrorCode::DiskFull);
}

TEST(CheckedFile, ClosedFileOperationsFail) {
    CheckedFile file;
    char b;
    EXPECT_EQ(CodeOf([&] { file.Read(&b, 1); }), ErrorCode::InvalidHandle);
    EXPECT_EQ(CodeOf([&] { file.Close(); }), ErrorCode::InvalidHandle);
}

}  // namespace
