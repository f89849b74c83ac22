// Reading and writing the directory trailer at the end of the setup program.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

#include "bundle/BundleDirectoryReader.h"
#include "bundle/TrailerWriter.h"
#include "setup/CheckedFile.h"
#include "setup/Failures.h"
#include "setup/SetupState.h"
#include "tests/support/TempDir.h"

namespace {

TrailerContents ProductTrailer() {
    TrailerContents trailer;
    trailer.Records = {MakeTrailerRecord("QUENFOLD.HLP", 5000, 1200), MakeTrailerRecord("UnInstal.Exe", 6200, 0),
                       MakeTrailerRecord("DATA.DAT", 6200, 4096)};
    trailer.Total = 10296;
    return trailer;
}

int InOutCode(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& error) {
        return error.ErrorCode();
    }
    return 0;
}

class BundleTrailerTest : public testing::Test {
protected:
    void SetUp() override {
        SetupState.BundleDirectory.Release();
        SetupState.BundleTotal = 0;
        SetupState.FileOpenMode = 2;
    }
    TempDir dir_;
};

TEST_F(BundleTrailerTest, WrittenTrailerReadsBackIntoTheSetupStateInTrailerOrder) {
    dir_.Write("SETUP.EXE", SeededRandomBytes(3000, 7));
    // Out of name and offset order on purpose: the list keeps the order of the trailer.
    TrailerContents trailer;
    trailer.Records = {MakeTrailerRecord("Zeta.dat", 100, 100), MakeTrailerRecord("Alpha.dat", 600, 400),
                       MakeTrailerRecord("Mid.hlp", 200, 400)};
    trailer.Total = 1000;
    AppendTrailer(dir_.Path("SETUP.EXE"), trailer);

    ReadBundleDirectory(dir_.Path("SETUP.EXE"));

    EXPECT_EQ(SetupState.BundleTotal, 1000);
    std::vector<std::tuple<std::string, int, int>> read;
    for (const BundleEntry* e = SetupState.BundleDirectory.First.get(); e; e = e->Next.get()) {
        read.emplace_back(e->Name, e->Offset, e->Size);
    }
    const std::vector<std::tuple<std::string, int, int>> expected = {
        {"Zeta.dat", 100, 100}, {"Alpha.dat", 600, 400}, {"Mid.hlp", 200, 400}};
    EXPECT_EQ(read, expected);
    EXPECT_EQ(SetupState.BundleDirectory.Last->Name, "Mid.hlp");
    EXPECT_EQ(SetupState.FileOpenMode, 2);
    EXPECT_EQ(dir_.Read("SETUP.EXE").size(), 3000u + TrailerSize(3));
}

// Hand-made bytes pin the layout down independently of the writer: little-endian signed
// integers, the name length apart from its field, filler ignored.
TEST_F(BundleTrailerTest, ReadsTheLayoutByteForByte) {
    const Bytes record = {3,    'A',  'B',  'C',  'x',  'y',  'z',  0,    0xFF, 'S',  'E',  'T', 'U', 'P',
                          '.',  'E',  'X',  'E',  0,    1,    0x34, 0x12, 0,    0,    0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes tail = {1, 0x78, 0x56, 0x34, 0x12};
    dir_.Write("S.EXE", Concat({{'M', 'Z'}, record, tail}));

    const TrailerContents trailer = ReadTrailer(dir_.Path("S.EXE"));

    ASSERT_EQ(trailer.Records.size(), 1u);
    EXPECT_EQ(trailer.Records[0].Name(), "ABC");
    EXPECT_EQ(trailer.Records[0].Offset, 0x1234);
    EXPECT_EQ(trailer.Records[0].Size, -1);
    EXPECT_EQ(trailer.Total, 0x12345678);
    EXPECT_EQ(TrailerBytes(trailer).size(), record.size() + tail.size());
}

TEST_F(BundleTrailerTest, WriterProducesTheSameBytesTheReaderTook) {
    TrailerContents trailer = ProductTrailer();
    trailer.Records[1].NameChars[15] = '!';  // filler survives a round trip through the writer
    trailer.Total = -2;
    const Bytes bytes = TrailerBytes(trailer);
    dir_.Write("S.EXE", bytes);
    EXPECT_EQ(TrailerBytes(ReadTrailer(dir_.Path("S.EXE"))), bytes);
}

TEST_F(BundleTrailerTest, ThirteenRecordsTake369Bytes) {
    TrailerContents trailer;
    for (int i = 0; i < 13; ++i) trailer.Records.push_back(MakeTrailerRecord("F" + std::to_string(i), i + 1, 1));
    EXPECT_EQ(TrailerBytes(trailer).size(), 369u);
    EXPECT_EQ(TrailerSize(13), 369u);
}

TEST_F(BundleTrailerTest, NoRecordsStillGivesTheTotalWhenTheFileIsJustTheTail) {
    dir_.Write("S.EXE", Bytes{0, 0x10, 0x27, 0, 0});
    const TrailerContents trailer = ReadTrailer(dir_.Path("S.EXE"));
    EXPECT_TRUE(trailer.Records.empty());
    EXPECT_EQ(trailer.Total, 10000);
}

TEST_F(BundleTrailerTest, EmptyNameIsReadThenRefused) {
    TrailerContents trailer = ProductTrailer();
    trailer.Records[0] = MakeTrailerRecord("", 5000, 1200);
    dir_.Write("S.EXE", TrailerBytes(trailer));

    EXPECT_EQ(ReadTrailer(dir_.Path("S.EXE")).Records[0].Name(), "");
    try {
        ReadBundleDirectory(dir_.Path("S.EXE"));
        FAIL() << "an empty name was accepted";
    } catch (const EDamagedFileList& failure) {
        EXPECT_NE(failure.Message().find("entry 1 \"\": the name is empty"), std::string::npos) << failure.Message();
    }
    EXPECT_EQ(SetupState.BundleDirectory.First, nullptr);
    EXPECT_EQ(SetupState.BundleTotal, 0);
}

// Every file too short for the trailer it claims fails at a seek, since the reads then lie
// before the tail: no file of these sizes reaches a read beyond its end.
TEST_F(BundleTrailerTest, FileTooShortForItsTrailerFailsAtASeek) {
    const std::vector<Bytes> files = {{}, {1}, {0, 1, 2}, {0, 1, 2, 3}, {1, 0, 0, 0, 0}, Bytes(32, 2)};
    for (const Bytes& content : files) {
        dir_.Write("S.EXE", content);
        EXPECT_EQ(InOutCode([&] { ReadTrailer(dir_.Path("S.EXE")); }), ErrorCode::NegativeSeek)
            << content.size() << " bytes";
    }
}

TEST_F(BundleTrailerTest, CountLargerThanTheFileFailsAtTheSeek) {
    Bytes content(28 * 254 + 5 + 27, 'x');
    content.back() = 0;
    content[content.size() - 5] = 255;
    dir_.Write("S.EXE", content);
    EXPECT_EQ(InOutCode([&] { ReadTrailer(dir_.Path("S.EXE")); }), ErrorCode::NegativeSeek);
}

// A file holding fewer bytes than its size says (a sysfs attribute reports 4096) makes the first
// exact read come up short.
TEST_F(BundleTrailerTest, ShortReadIsReadBeyondEndOfFile) {
    const std::string path = "/sys/kernel/mm/transparent_hugepage/enabled";
    std::error_code error;
    if (std::filesystem::file_size(path, error) != 4096 || error) GTEST_SKIP() << "no sysfs attribute here";
    EXPECT_EQ(InOutCode([&] { ReadTrailer(path); }), ErrorCode::ReadBeyondEnd);
}

TEST_F(BundleTrailerTest, MissingFileFailsAtTheOpen) {
    EXPECT_EQ(InOutCode([&] { ReadTrailer(dir_.Path("NONE.EXE")); }), ErrorCode::FileNotFound);
}

// The setup program reads its own running executable, which the system refuses to open for
// writing; the read works only because it opens read-only, and leaves mode 2 behind.
TEST_F(BundleTrailerTest, ReadsTheRunningProgramsOwnFileReadOnly) {
    CheckedFile readWrite;
    ASSERT_NE(InOutCode([&] { readWrite.Open("/proc/self/exe", 2); }), 0) << "the test proves nothing here";

    EXPECT_EQ(InOutCode([&] { ReadTrailer("/proc/self/exe"); }), 0);
    EXPECT_EQ(SetupState.FileOpenMode, 2);
}

}  // namespace
