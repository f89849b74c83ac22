// Our streams against an independent decoder: lhasa extracts -lh1- archives, whose method is
// exactly our stream format.
#include <gtest/gtest.h>

#include <string>

#include "lzh/LZHPack.h"
#include "lzh/MemoryStreams.h"
#include "tests/peer/LhaArchive.h"
#include "tests/peer/Lhasa.h"
#include "tests/support/TempDir.h"

namespace {

class LhasaPeer : public ::testing::Test {
protected:
    void SetUp() override {
        lhasa_ = FindLhasa();
        if (!lhasa_) GTEST_SKIP() << "lhasa is not installed (Debian package lhasa): peer check skipped";
    }

    // What lhasa extracts from the stream wrapped as an archive whose header describes original.
    Bytes Extract(const Bytes& original, const Bytes& stream) {
        folder_.Write("peer.lzh", MakeLh1Archive("PEER.BIN", original, stream));
        const LhasaResult result = LhasaPrint(*lhasa_, folder_.Root() / "peer.lzh");
        EXPECT_EQ(result.ExitStatus, 0) << "lhasa reported a failure";
        return result.Output;
    }

    std::optional<std::filesystem::path> lhasa_;
    TempDir folder_;
};

Bytes Text(std::size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line)
        text += "Line " + std::to_string(line * 7919 % 1000) + ": the setup copies the files of the bundle.\r\n";
    text.resize(size);
    return Bytes(text.begin(), text.end());
}


TEST_F(LhasaPeer, ExtractsWhatOurEncoderWrote) {
    const struct {
        const char* name;
        Bytes data;
    } cases[] = {
        {"one byte", {0x41}},
        {"leading spaces", Concat({Bytes(300, ' '), Text(2000)})},
        {"run of one byte", Bytes(10000, 0xE5)},
        {"text", Text(200000)},
        {"random", SeededRandomBytes(70000, 3)},
        // Some MB of mixed content: passes many tree rebuilds.
        {"large mixed", Concat({Text(1500000), SeededRandomBytes(500000, 4), Bytes(100000, 0), Text(1000000)})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Extract(c.data, LZHPack(c.data)), c.data);
    }
}

// Arbitrary bytes are a valid stream too: both decoders must read the same symbols from them,
// with matches at every distance, early ones into the window's first content, and across tree
// rebuilds. (lhasa stops where its input ends, so every stream here is long enough.)
TEST_F(LhasaPeer, DecodesArbitraryStreamsAlike) {
    const struct {
        std::size_t streamSize;
        std::int32_t size;
        std::uint32_t seeds;
    } cases[] = {{400, 200, 400}, {70000, 200000, 12}};
    for (const auto& c : cases) {
        for (std::uint32_t seed = 1; seed <= c.seeds; ++seed) {
            SCOPED_TRACE(::testing::Message() << c.size << " bytes from seed " << seed);
            const Bytes stream = SeededRandomBytes(c.streamSize, seed);
            MemoryDecodeResult ours = DecodeMemory(stream, c.size);
            ASSERT_EQ(ours.DryReads, 0u) << "the stream is too short for the size";
            ours.Output.resize(static_cast<std::size_t>(c.size));
            ASSERT_EQ(Extract(ours.Output, stream), ours.Output);
        }
    }
}

}  // namespace
