// LZHUnpack: streams worked out by hand, the calls it makes of its byte procedures, cancellation
// between symbols, and damaged streams.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "lzh/LZHPack.h"
#include "lzh/LZHUnpack.h"
#include "lzh/MemoryStreams.h"
#include "setup/SetupState.h"
#include "tests/support/TempDir.h"

namespace {

// Procedures that log their calls. LZHByteProc has no context, so their state is process-wide.
struct ProcLog {
    Bytes Archive;
    std::size_t Next = 0;
    Bytes Output;
    int SourceCalls = 0;
    int SinkCalls = 0;
    // The source hands out its byte but sets actual to this.
    std::uint16_t SourceActual = 1;
    // ContinueFlag is cleared by the source call or sink call of this number (1-based); 0: never.
    int ClearAtSourceCall = 0;
    int ClearAtSinkCall = 0;
    // Calls made after the flag was cleared.
    int SourceCallsAfterClear = 0;
    int SinkCallsAfterClear = 0;
    bool Cleared = false;
};
ProcLog Log;

void LogSource(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    EXPECT_EQ(count, 1);
    if (Log.Cleared) ++Log.SourceCallsAfterClear;
    ++Log.SourceCalls;
    if (Log.Next < Log.Archive.size()) {
        *static_cast<std::uint8_t*>(buffer) = Log.Archive[Log.Next++];
        actual = Log.SourceActual;
    } else {
        *static_cast<std::uint8_t*>(buffer) = 0xFF;  // must not count: actual is 0
        actual = 0;
    }
    if (Log.SourceCalls == Log.ClearAtSourceCall) {
        SetupState.ContinueFlag = 0;
        Log.Cleared = true;
    }
}

void LogSink(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    EXPECT_EQ(count, 1);
    if (Log.Cleared) ++Log.SinkCallsAfterClear;
    ++Log.SinkCalls;
    Log.Output.push_back(*static_cast<const std::uint8_t*>(buffer));
    actual = 0;  // the decoder ignores what the sink took
    if (Log.SinkCalls == Log.ClearAtSinkCall) {
        SetupState.ContinueFlag = 0;
        Log.Cleared = true;
    }
}

class LZHUnpackTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log = ProcLog{};
        SetupState.ContinueFlag = 1;
    }
    void TearDown() override { SetupState.ContinueFlag = 0; }
};

// A literal 'a', then overlapping matches of 60 and 27 bytes at distance 0.
const Bytes RunOfA = {0xF6, 0xFB, 0x40, 0x14, 0x80, 0x00};

TEST_F(LZHUnpackTest, DecodesStreamsWorkedOutByHand) {
    const struct {
        const char* what;
        Bytes archive;
        std::int32_t size;
        Bytes expected;
    } cases[] = {
        {"a literal", {0xE6, 0x80}, 1, {0x41}},
        {"a match into the prepared spaces", {0x8C, 0x00, 0x7B, 0x7D, 0xDE, 0xF0}, 6, {' ', ' ', ' ', 'a', 'b', 'c'}},
        {"overlapping matches", RunOfA, 88, Bytes(88, 'a')},
        {"a match copied whole past the size", RunOfA, 30, Bytes(61, 'a')},
        // Zero bits walk from the root through first children to the leaf of 't'.
        {"no archive at all", {}, 1, {0x74}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeMemory(c.archive, c.size).Output, c.expected);
    }
}

TEST_F(LZHUnpackTest, SizeOfZeroOrLessCallsNeitherProcedure) {
    Log.Archive = RunOfA;
    for (std::int32_t size : {0, -5, INT32_MIN}) {
        LZHUnpack(size, LogSource, LogSink);
        EXPECT_EQ(Log.SourceCalls, 0) << size;
        EXPECT_EQ(Log.SinkCalls, 0) << size;
    }
}

TEST_F(LZHUnpackTest, ReadsOneByteAtATimeAndOneBytePastTheStream) {
    Log.Archive = RunOfA;
    LZHUnpack(88, LogSource, LogSink);
    EXPECT_EQ(Log.Output, Bytes(88, 'a'));
    EXPECT_EQ(Log.SourceCalls, 7);
}

// Only an actual of exactly 1 delivers a byte: anything else reads as the byte 0.
TEST_F(LZHUnpackTest, SourceActualOtherThanOneCountsAsZero) {
    const Bytes zeros = DecodeMemory(Bytes(200, 0), 500).Output;
    for (std::uint16_t actual : {0, 2, 0xFFFF}) {
        Log = ProcLog{};
        Log.Archive = Bytes(200, 0xB7);
        Log.SourceActual = actual;
        LZHUnpack(500, LogSource, LogSink);
        EXPECT_EQ(Log.Output, zeros) << actual;
    }
}

// The flag is tested between symbols: the symbol under way is finished, no further one begun.
TEST_F(LZHUnpackTest, ClearedContinueFlagStopsBeforeTheNextSymbol) {
    const struct {
        const char* what;
        int clearAtSourceCall;
        int clearAtSinkCall;
        std::size_t expectedOutput;
        int expectedSinkCallsAfter;
    } cases[] = {
        {"cleared before the start", -1, 0, 0, 0},
        {"by the sink after the literal", 0, 1, 1, 0},
        {"by the sink at the match's first byte", 0, 2, 61, 59},
        {"by the sink at the match's last byte", 0, 61, 61, 0},
        // The literal's 9 bits take the first three bytes; the byte comes after the clearing.
        {"by the source at the literal's first byte", 1, 0, 1, 1},
        {"by the source at the literal's last byte", 3, 0, 1, 1},
        {"by the source while the match is read", 4, 0, 61, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Log = ProcLog{};
        Log.Archive = RunOfA;
        Log.ClearAtSourceCall = c.clearAtSourceCall;
        Log.ClearAtSinkCall = c.clearAtSinkCall;
        SetupState.ContinueFlag = c.clearAtSourceCall < 0 ? 0 : 1;
        LZHUnpack(88, LogSource, LogSink);
        EXPECT_EQ(Log.Output, Bytes(c.expectedOutput, 'a'));
        EXPECT_EQ(Log.SinkCallsAfterClear, c.expectedSinkCallsAfter);
        if (c.clearAtSinkCall > 0) {
            EXPECT_EQ(Log.SourceCallsAfterClear, 0);
        }
        if (c.clearAtSourceCall < 0) {
            EXPECT_EQ(Log.SourceCalls, 0);
        }
        EXPECT_EQ(SetupState.ContinueFlag, 0);
    }
}

// Whatever the bytes say, the decoder stays in its tables and gives the size asked for, or up
// to MaxMatch - 1 bytes more.
TEST_F(LZHUnpackTest, DamagedStreamsStillGiveTheSize) {
    std::string text;
    for (int i = 0; text.size() < 100000; ++i) text += "entry " + std::to_string(i * 31 % 977) + " of the bundle\n";
    const Bytes original(text.begin(), text.end());
    const Bytes stream = LZHPack(original);
    const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2));

    const struct {
        const char* what;
        Bytes archive;
    } cases[] = {
        {"cut short", cut},
        {"all zeros", Bytes(3000, 0x00)},
        {"all ones", Bytes(3000, 0xFF)},
        {"random", SeededRandomBytes(3000, 99)},
        {"alternating", [] {
             Bytes b(3000);
             for (std::size_t i = 0; i < b.size(); ++i) b[i] = i % 2 ? 0xAA : 0x55;
             return b;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::int32_t size : {1, 59, 4096, 100000}) {
            const MemoryDecodeResult result = DecodeMemory(c.archive, size);
            EXPECT_GE(result.Output.size(), static_cast<std::size_t>(size));
            EXPECT_LE(result.Output.size(), static_cast<std::size_t>(size) + 59);
        }
    }
    // What the kept half of the stream holds still decodes right.
    const Bytes start = DecodeMemory(cut, 100000).Output;
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 20000, start.begin()));
}

}  // namespace
