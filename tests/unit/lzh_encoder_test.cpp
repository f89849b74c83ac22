// LZHPack: its exact output for streams worked out by hand, and round trips through the real
// decoder that must use up exactly the stream and give exactly the data.
#include <gtest/gtest.h>

#include <string>

#include "lzh/LZHPack.h"
#include "lzh/MemoryStreams.h"
#include "tests/support/TempDir.h"

namespace {

Bytes Text(std::size_t size, int seed = 0) {
    std::string text;
    for (int line = seed; text.size() < size; ++line)
        text += "Copying file " + std::to_string(line * 7919 % 4001) + " of the product to the destination.\r\n";
    text.resize(size);
    return Bytes(text.begin(), text.end());
}


// The start of a Windows program: a small header, zeros, code-like bytes, a string table.
Bytes ProgramLike(std::size_t size) {
    Bytes bytes = {'M', 'Z', 0x90, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0, 0};
    bytes.resize(512, 0);
    const Bytes noise = SeededRandomBytes(size, 17);
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        // Repeats of short instruction-like groups with varying operands.
        const std::uint8_t group[] = {0x55, 0x8B, 0xEC, 0x83, 0xEC, noise[i % noise.size()], 0xE8, noise[(i * 7) % noise.size()], 0, 0, 0xC3};
        bytes.insert(bytes.end(), std::begin(group), std::end(group));
        if (i % 50 == 0) {
            const Bytes name = Text(40, static_cast<int>(i));
            bytes.insert(bytes.end(), name.begin(), name.end());
        }
    }
    bytes.resize(size);
    return bytes;
}

TEST(LZHPack, WritesTheStreamsWorkedOutByHand) {
    const struct {
        const char* what;
        Bytes data;
        Bytes stream;
    } cases[] = {
        {"nothing", {}, {}},
        {"a literal", {0x41}, {0xE6, 0x80}},
        {"a match into the prepared spaces, then literals", {' ', ' ', ' ', 'a', 'b', 'c'}, {0x8C, 0x00, 0x7B, 0x7D, 0xDE, 0xF0}},
        {"overlapping matches at distance 0", Bytes(88, 'a'), {0xF6, 0xFB, 0x40, 0x14, 0x80, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LZHPack(c.data), c.stream);
    }
}

// The decoder reads one byte past the last one it needs, so a stream that ends at its last
// symbol's last byte is used up with exactly one read past its end.
void ExpectRoundTrip(const Bytes& data) {
    const Bytes stream = LZHPack(data);
    const MemoryDecodeResult result = DecodeMemory(stream, static_cast<std::int32_t>(data.size()));
    ASSERT_EQ(result.Output.size(), data.size()) << "the last match ran past the end";
    EXPECT_TRUE(result.Output == data) << "decoded bytes differ";
    EXPECT_EQ(result.BytesDelivered, stream.size());
    EXPECT_EQ(result.DryReads, data.empty() ? 0u : 1u);
}

TEST(LZHPack, RoundTripsThroughTheDecoder) {
    const struct {
        const char* what;
        Bytes data;
    } cases[] = {
        {"empty", {}},
        {"one byte", {0x00}},
        {"one space", {' '}},
        {"59 bytes", Text(59)},
        {"60 bytes of one value", Bytes(60, 0x7F)},
        {"61 bytes of one value", Bytes(61, 0x7F)},
        {"4095 bytes", Text(4095)},
        {"4096 bytes", ProgramLike(4096)},
        {"4097 bytes", SeededRandomBytes(4097, 1)},
        {"a leading run of spaces longer than the prepared ones", Concat({Bytes(5000, ' '), Text(3000)})},
        {"spaces only", Bytes(10000, ' ')},
        {"a long run of zeros", Bytes(300000, 0)},
        {"runs of every length", [] {
             Bytes b;
             for (int n = 1; n <= 130; ++n) b.insert(b.end(), static_cast<std::size_t>(n), static_cast<std::uint8_t>(n));
             return b;
         }()},
        {"text", Text(150000)},
        {"a repeat exactly one window back", [] {
             const Bytes block = SeededRandomBytes(4096, 5);
             return Concat({block, block, block});
         }()},
        {"program-like bytes", ProgramLike(200000)},
        // Each passes the first tree rebuild (32,455 symbols), the random bytes three times.
        {"random", SeededRandomBytes(100000, 2)},
        {"mixed, several rebuilds", Concat({Text(300000, 1), SeededRandomBytes(70000, 3), ProgramLike(300000), Bytes(5000, 0xFF)})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRoundTrip(c.data);
    }
}

TEST(LZHPack, RoundTripsEveryShortSize) {
    const Bytes text = Text(200);
    const Bytes noise = SeededRandomBytes(200, 8);
    for (std::size_t size = 1; size <= 200; ++size) {
        SCOPED_TRACE(size);
        ExpectRoundTrip(Bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size)));
        ExpectRoundTrip(Bytes(noise.begin(), noise.begin() + static_cast<std::ptrdiff_t>(size)));
    }
}

// The match finder must find what is there: a broken one still round-trips, with literals only.
TEST(LZHPack, CompressesWhatRepeats) {
    const struct {
        const char* what;
        Bytes data;
        double maxRatio;
    } cases[] = {
        {"text", Text(100000), 0.2},
        {"program-like bytes", ProgramLike(100000), 0.6},
        {"a long run", Bytes(100000, 'x'), 0.03},
        {"a leading run of spaces", Bytes(4000, ' '), 0.03},
        {"a repeat one window back", Concat({SeededRandomBytes(4096, 5), SeededRandomBytes(4096, 5)}), 0.6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_LT(static_cast<double>(LZHPack(c.data).size()), c.maxRatio * static_cast<double>(c.data.size()));
    }
    // Random bytes cost at most a little more than themselves.
    const Bytes noise = SeededRandomBytes(100000, 6);
    EXPECT_LT(LZHPack(noise).size(), noise.size() + noise.size() / 100);
}

TEST(LZHPack, ReportsProgressUpToTheWholeSize) {
    const Bytes data = Text(300000);
    std::vector<std::size_t> reports;
    LZHPack(data, [&](std::size_t done) { reports.push_back(done); });
    ASSERT_GE(reports.size(), 2u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), data.size());
}

}  // namespace
