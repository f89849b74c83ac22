// LZHUnpack on arbitrary archives. The input is a small header and the archive:
//
//   offset  size  field
//   0       3     output size, little-endian, below the cap that byte 3 chooses
//   3       1     bits 0-3: k, the cap is 64 << k bytes, at most MaxOutput; bit 7: the size is
//                 -1 minus bytes 0-2 instead
//   4       1     flags: bit 0 clears ContinueFlag after a chosen output byte
//   5       3     that byte's number, little-endian (0: before the decoding starts)
//   8       ...   the archive
//
// A shorter input counts its missing header bytes as 0. The byte procedures count every call, so
// a decoder that loops without end fails a bound instead of timing out.
#include <algorithm>
#include <string>

#include "lzh/LZHFormat.h"
#include "lzh/LZHPack.h"
#include "lzh/LZHUnpack.h"
#include "setup/SetupState.h"
#include "tests/fuzz/Harnesses.h"
#include "tests/fuzz/SeedData.h"

namespace {

constexpr std::size_t HeaderSize = 8;
// Room for more than the 32,455 symbols after which the tree is rebuilt. The slowest decoding,
// a flat tree fed zero bits, takes about 17 us a byte in the instrumented build: at this size
// it stays near a second, well below libFuzzer's timeout. Small caps keep most runs quick.
constexpr std::int32_t MaxOutput = 64 * 1024;
// A symbol's code is a path in a tree of SymbolCount leaves, at most SymbolCount - 1 bits, and a
// match adds at most 14 distance bits. The bit buffer reads up to 16 bits ahead.
constexpr std::int64_t MaxSymbolBits = SymbolCount - 1 + 14;
constexpr std::int64_t ReadAheadBits = 16;

struct Decoding {
    std::span<const std::uint8_t> Archive;
    std::size_t Next = 0;
    std::int64_t SourceCalls = 0;
    std::int64_t SinkCalls = 0;
    std::int64_t SinkLimit = 0;
    std::int64_t CancelAfter = -1;  // sink calls before ContinueFlag is cleared; -1: never
    std::int64_t CancelledAt = -1;  // sink calls when it was
};
// LZHByteProc has no context argument.
Decoding Current;

void CountingSource(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    Decoding& d = Current;
    if (count != 1) FuzzFail("the decoder asked its source for " + std::to_string(count) + " bytes, not 1");
    if (d.CancelledAt >= 0) FuzzFail("the decoder read archive bytes after ContinueFlag was cleared");
    ++d.SourceCalls;
    // Every symbol started so far has yielded a byte, except the one being read now.
    if (d.SourceCalls * 8 > (d.SinkCalls + 1) * MaxSymbolBits + ReadAheadBits) {
        FuzzFail("the decoder read " + std::to_string(d.SourceCalls) + " archive bytes for " +
                 std::to_string(d.SinkCalls) + " output bytes: it is reading without decoding");
    }
    if (d.Next < d.Archive.size()) {
        *static_cast<std::uint8_t*>(buffer) = d.Archive[d.Next++];
        actual = 1;
    } else {
        actual = 0;
    }
}

void CountingSink(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    Decoding& d = Current;
    if (count != 1 || buffer == nullptr) {
        FuzzFail("the decoder offered its sink " + std::to_string(count) + " bytes, not 1");
    }
    if (++d.SinkCalls > d.SinkLimit) {
        FuzzFail("the decoder gave " + std::to_string(d.SinkCalls) + " bytes where at most " +
                 std::to_string(d.SinkLimit) + " may come");
    }
    if (d.SinkCalls == d.CancelAfter) {
        SetupState.ContinueFlag = 0;
        d.CancelledAt = d.SinkCalls;
    }
    actual = count;
}

std::uint32_t LoadLE(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (at + i < bytes.size()) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    }
    return value;
}

// The header for an output of exactly size bytes (from -16M to MaxOutput).
FuzzBytes Header(std::int32_t size, bool cancel = false, std::uint32_t cancelAfter = 0) {
    std::uint32_t low = static_cast<std::uint32_t>(size < 0 ? -1 - size : size);
    std::uint8_t sizeByte = size < 0 ? 0x80 : 0;
    while (size >= 0 && (64 << sizeByte) <= size) ++sizeByte;
    return {static_cast<std::uint8_t>(low),  static_cast<std::uint8_t>(low >> 8),
            static_cast<std::uint8_t>(low >> 16), sizeByte,
            static_cast<std::uint8_t>(cancel ? 1 : 0), static_cast<std::uint8_t>(cancelAfter),
            static_cast<std::uint8_t>(cancelAfter >> 8), static_cast<std::uint8_t>(cancelAfter >> 16)};
}

FuzzBytes Seed(FuzzBytes header, const FuzzBytes& archive) {
    header.insert(header.end(), archive.begin(), archive.end());
    return header;
}

}  // namespace

void RunLzhUnpack(std::span<const std::uint8_t> input) {
    const std::span<const std::uint8_t> archive = input.subspan(std::min(input.size(), HeaderSize));
    const std::uint32_t sizeByte = LoadLE(input, 3, 1);
    const std::int32_t cap = std::min(MaxOutput, 64 << (sizeByte & 15));
    const auto low = static_cast<std::int32_t>(LoadLE(input, 0, 3));
    const std::int32_t size = (sizeByte & 0x80) ? -1 - low : low % (cap + 1);
    const bool cancel = (LoadLE(input, 4, 1) & 1) != 0;

    Current = Decoding{};
    Current.Archive = archive;
    // A match begun before the size is reached is copied whole.
    Current.SinkLimit = size > 0 ? size + MaxMatch - 1 : 0;
    Current.CancelAfter = cancel ? LoadLE(input, 5, 3) : -1;
    SetupState.ContinueFlag = Current.CancelAfter == 0 ? 0 : 1;

    LZHUnpack(size, CountingSource, CountingSink);

    const Decoding& d = Current;
    if (Current.CancelAfter == 0) {
        if (d.SourceCalls != 0 || d.SinkCalls != 0) FuzzFail("the decoder ran with ContinueFlag clear");
    } else if (d.CancelledAt >= 0) {
        // The symbol under way is finished, no further one begun.
        if (d.SinkCalls - d.CancelledAt > MaxMatch - 1) {
            FuzzFail("the decoder gave " + std::to_string(d.SinkCalls - d.CancelledAt) +
                     " bytes after ContinueFlag was cleared, more than the rest of one match");
        }
    } else if (d.SinkCalls < size) {
        FuzzFail("the decoder stopped after " + std::to_string(d.SinkCalls) + " of " + std::to_string(size) + " bytes");
    }
    SetupState.ContinueFlag = 0;
}

std::vector<FuzzBytes> LzhUnpackSeeds() {
    std::vector<FuzzBytes> seeds = {
        // Streams worked out by hand: a literal; a match of spaces from the prepared window;
        // overlapping matches at distance 0, also cut short by the size.
        Seed(Header(1), {0xE6, 0x80}),
        Seed(Header(6), {0x8C, 0x00, 0x7B, 0x7D, 0xDE, 0xF0}),
        Seed(Header(88), {0xF6, 0xFB, 0x40, 0x14, 0x80, 0x00}),
        Seed(Header(30), {0xF6, 0xFB, 0x40, 0x14, 0x80, 0x00}),
        // No archive at all, a size of 0 and a negative size.
        Seed(Header(1), {}),
        Seed(Header(0), {0xE6, 0x80}),
        Seed(Header(-1), {0xE6, 0x80}),
    };
    const FuzzBytes samples[] = {FuzzBytes(88, 'a'), SeedText(300), SeedNoise(3000, 7), SeedText(20000),
                                 // Enough symbols for the tree to be rebuilt.
                                 SeedNoise(33000, 11)};
    for (const FuzzBytes& data : samples) {
        seeds.push_back(Seed(Header(static_cast<std::int32_t>(data.size())), LZHPack(data)));
    }
    // Cancelled before the start, after a literal and in the middle of a match.
    const FuzzBytes text = LZHPack(SeedText(2000));
    seeds.push_back(Seed(Header(2000, true, 0), text));
    seeds.push_back(Seed(Header(2000, true, 1), text));
    seeds.push_back(Seed(Header(2000, true, 1000), text));
    // A stream made for more than it is asked for, and one cut short.
    seeds.push_back(Seed(Header(100), text));
    seeds.push_back(Seed(Header(2000), FuzzBytes(text.begin(), text.begin() + std::ssize(text) / 2)));
    return seeds;
}
