#include <gtest/gtest.h>

#include <vector>

#include "lzh/DecoderStreams.h"
#include "setup/Failures.h"
#include "setup/PathHelpers.h"
#include "setup/SetupState.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/support/TempDir.h"

namespace {

int pumps = 0;
void CountPump() { ++pumps; }

class DecoderStreams : public ::testing::Test {
protected:
    void SetUp() override {
        SetupState = SetupStateRecord{};
        SetupState.SourceBuffer.assign(DecoderBufferSize, 0);
        SetupState.SinkBuffer.assign(DecoderBufferSize, 0);
        SetupState.ContinueFlag = 1;
        SetupState.MessagePump = CountPump;
        SetupState.ProgressMeter.Canvas = &canvas;
        SetupState.ProgressMeter.Width = 100;
        pumps = 0;
    }
    void OpenArchive(const Bytes& content) {
        dir.Write("archive", content);
        ASSERT_EQ(SetupState.ArchiveHandle.TryOpen(JoinPath(dir.Dir(), "archive"), FileAccess::ReadOnly,
                                                   FileSharing::None, FileDisposition::OpenExisting),
                  0);
    }
    void CreateBundle() {
        ASSERT_EQ(SetupState.BundleHandle.TryOpen(JoinPath(dir.Dir(), "bundle"), FileAccess::ReadWrite,
                                                  FileSharing::None, FileDisposition::CreateAlways),
                  0);
    }
    // Takes one byte at a time, as the decoder does; -1 when the source reports none.
    int Take() {
        std::uint8_t byte = 0;
        std::uint16_t actual = 99;
        ArchiveSource(&byte, 1, actual);
        return actual == 1 ? byte : -1;
    }
    void Offer(std::uint8_t byte) {
        std::uint16_t actual = 0;
        BundleSink(&byte, 1, actual);
        EXPECT_EQ(actual, 1);
    }
    void Flush() {
        std::uint16_t actual = 77;
        BundleSink(nullptr, 0, actual);
        EXPECT_EQ(actual, 77);  // the flush leaves actual alone
    }
    TempDir dir;
    RecordingCanvas canvas;
};

TEST_F(DecoderStreams, SourceReadsBlocksAndDrainsOncePerBlock) {
    const Bytes archive = SeededRandomBytes(2049, 1);
    OpenArchive(archive);
    for (std::size_t i = 0; i < archive.size(); ++i) ASSERT_EQ(Take(), archive[i]) << i;
    EXPECT_EQ(pumps, 2);
    EXPECT_EQ(Take(), -1);
    EXPECT_EQ(Take(), -1);  // every later call reads again and reports nothing
    EXPECT_EQ(pumps, 2);
    EXPECT_EQ(SetupState.SourceDelivered, 2049);
    EXPECT_EQ(SetupState.SourceDryReads, 2);
}

TEST_F(DecoderStreams, EmptyArchiveReportsNothingWithoutDraining) {
    OpenArchive({});
    EXPECT_EQ(Take(), -1);
    EXPECT_EQ(pumps, 0);
}

TEST_F(DecoderStreams, RequestOfSeveralBytesKeepsTheUnreadOnes) {
    const Bytes archive = SeededRandomBytes(3000, 2);
    OpenArchive(archive);
    for (int i = 0; i < 2047; ++i) Take();
    std::uint8_t three[3];
    std::uint16_t actual = 0;
    ArchiveSource(three, 3, actual);
    EXPECT_EQ(actual, 3);
    EXPECT_EQ(Bytes(three, three + 3), Bytes(archive.begin() + 2047, archive.begin() + 2050));
}

TEST_F(DecoderStreams, ClearedFlagStopsBoth) {
    OpenArchive({1, 2, 3});
    CreateBundle();
    SetupState.ContinueFlag = 0;
    EXPECT_EQ(Take(), -1);
    std::uint8_t byte = 5;
    std::uint16_t actual = 9;
    BundleSink(&byte, 1, actual);
    EXPECT_EQ(actual, 0);
    BundleSink(nullptr, 0, actual);  // nor is a flush written
    SetupState.BundleHandle.Close();
    EXPECT_TRUE(dir.Read("bundle").empty());
}

TEST_F(DecoderStreams, SinkWritesFullBlocksAndMovesTheMeter) {
    CreateBundle();
    SetupState.BundleTotal = 5000;
    const Bytes data = SeededRandomBytes(5000, 3);
    for (std::size_t i = 0; i < data.size(); ++i) Offer(data[i]);
    EXPECT_EQ(SetupState.SinkWritten, 4096);
    EXPECT_EQ(canvas.Texts, (std::vector<std::string>{"41%", "82%"}));
    Flush();
    EXPECT_EQ(canvas.Texts.size(), 2u);  // the flush draws nothing
    EXPECT_EQ(SetupState.SinkWritten, 4096);
    SetupState.BundleHandle.Close();
    EXPECT_EQ(dir.Read("bundle"), data);
}

TEST_F(DecoderStreams, HalfPercentGoesToTheEvenNeighbour) {
    CreateBundle();
    SetupState.BundleTotal = 81920;
    SetupState.ProgressMeter.LastDrawnPercent = 57;
    for (int i = 0; i < 2049; ++i) Offer(0);
    EXPECT_EQ(canvas.Texts, (std::vector<std::string>{"2%"}));
}

TEST_F(DecoderStreams, FailedBundleWriteIsReported) {
    dir.Write("bundle", "");
    ASSERT_EQ(SetupState.BundleHandle.TryOpen(JoinPath(dir.Dir(), "bundle"), FileAccess::ReadOnly, FileSharing::None,
                                              FileDisposition::OpenExisting),
              0);
    SetupState.BundleTotal = 4000;
    for (int i = 0; i < 2048; ++i) Offer(0);
    std::uint8_t byte = 0;
    std::uint16_t actual = 0;
    EXPECT_THROW(BundleSink(&byte, 1, actual), EInOutError);
}

}  // namespace
