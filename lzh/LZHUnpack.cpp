#include "lzh/LZHUnpack.h"

#include <array>
#include <memory>
#include <new>

#include "lzh/AdaptiveHuffman.h"
#include "lzh/DistanceCode.h"
#include "lzh/LZHFormat.h"
#include "setup/Failures.h"
#include "setup/SetupState.h"

namespace {

// The whole state of one decoding. Nothing outlives the call, so two calls decode two
// independent streams.
class LZHDecoder {
public:
    LZHDecoder(LZHByteProc source, LZHByteProc sink) : source_(source), sink_(sink) {}

    void Run(std::int32_t textSize) {
        tree_.StartTree();
        RingBuffer.fill(WindowFill);
        unsigned r = WindowStart;
        // Wider than textSize: the last match may run up to MaxMatch - 1 bytes past it.
        std::int64_t count = 0;
        std::array<std::uint16_t, SymbolCount> path;
        while (count < textSize && SetupState.ContinueFlag != 0) {
            int depth = 0;
            const int symbol = DecodeSymbol(path, depth);
            if (symbol < LiteralCount) {
                Put(static_cast<std::uint8_t>(symbol), r);
                r = (r + 1) & RingMask;
                ++count;
            } else {
                // Byte by byte, so that a match may copy the bytes it is producing.
                const unsigned back = static_cast<unsigned>(DecodeDistance()) + 1;
                const unsigned length = static_cast<unsigned>(MatchLength(symbol));
                const unsigned end = r + length;
                for (unsigned w = r; w != end; ++w) Put(RingBuffer[(w - back) & RingMask], w & RingMask);
                count += length;
                r = end & RingMask;
            }
            // Counting the symbol after its bytes are out changes nothing anyone can see, and
            // lets the processor overlap the two.
            tree_.UpdateTree(symbol, path.data(), depth);
        }
    }

private:
    // Stores one byte in the window and gives it to the sink. The sink sees only a copy, so it
    // cannot change the window, which also makes the order of the two steps invisible.
    void Put(std::uint8_t byte, unsigned position) {
        RingBuffer[position] = byte;
        offered_ = byte;
        sink_(&offered_, 1, answer_);
    }

    // One byte of the stream; a byte the source does not deliver counts as 0.
    unsigned NextByte() {
        received_ = 0;
        answer_ = 0;
        source_(&received_, 1, answer_);
        return answer_ == 1 ? received_ : 0;
    }

    // The bit input works on copies of BitBuffer and BitCount that the compiler keeps in
    // registers for one symbol.
    struct Bits {
        std::uint32_t Buffer;
        unsigned Count;
    };
    Bits LoadBits() const { return {BitBuffer, BitCount}; }
    void StoreBits(const Bits& bits) {
        BitBuffer = bits.Buffer;
        BitCount = static_cast<std::uint8_t>(bits.Count);
    }

    // Reads bytes while fewer than need bits are held; need is at most 14, so the buffer holds
    // at most 21 bits.
    void Refill(Bits& bits, unsigned need) {
        while (bits.Count < need) {
            bits.Buffer |= NextByte() << (24 - bits.Count);
            bits.Count += 8;
        }
    }

    // Before every bit the stream's reader holds at least 9 bits, reading one byte at a time as
    // they run low; that fixes how many bytes it has taken at the end of each symbol.
    unsigned ReadBit(Bits& bits) {
        Refill(bits, 9);
        const unsigned bit = bits.Buffer >> 31;
        bits.Buffer <<= 1;
        --bits.Count;
        return bit;
    }

    unsigned ReadByte(Bits& bits) {
        Refill(bits, 9);
        const unsigned byte = bits.Buffer >> 24;
        bits.Buffer <<= 8;
        bits.Count -= 8;
        return byte;
    }

    // n (1 to 6) bits at once. Holding n + 8 bits before taking them ends with the same bytes
    // read as n single bits would; no byte goes to the sink in between, so nobody can tell.
    unsigned ReadBits(Bits& bits, unsigned n) {
        Refill(bits, n + 8);
        const unsigned value = bits.Buffer >> (32 - n);
        bits.Buffer <<= n;
        bits.Count -= n;
        return value;
    }

    // The tree's invariants hold whatever the input says (every symbol is a valid one to count),
    // so an inner node's children are at c and c + 1 below the root, and the walk ends at a leaf.
    // A walk passes each inner node at most once, so the path has fewer than SymbolCount nodes.
    int DecodeSymbol(std::array<std::uint16_t, SymbolCount>& path, int& depth) {
        Bits bits = LoadBits();
        unsigned c = tree_.NodeChild[RootNode];
        while (!AdaptiveHuffmanTree::IsLeaf(c)) {
            const unsigned node = c + ReadBit(bits);
            path[depth++] = static_cast<std::uint16_t>(node);
            c = tree_.NodeChild[node];
        }
        StoreBits(bits);
        return static_cast<int>(c) - TreeSize;
    }

    // The first eight bits hold the prefix code (3 to 8 bits) and the start of the lower six
    // bits; the code's length says how many of those follow.
    int DecodeDistance() {
        Bits bits = LoadBits();
        const unsigned b = ReadByte(bits);
        const unsigned n = DecodeLength[b] - 2u;
        const unsigned low = ((b << n) | ReadBits(bits, n)) & ((1u << DistanceLowBits) - 1);
        StoreBits(bits);
        return static_cast<int>(low | (DecodeHigh[b] << DistanceLowBits));
    }

    AdaptiveHuffmanTree tree_;
    // A stream made for this format never copies from positions WindowStart on before writing
    // them. They hold spaces too, as in other decoders of the format, so that any stream decodes
    // alike everywhere.
    std::array<std::uint8_t, RingSize> RingBuffer;
    // The bits not yet used, left-aligned (the next one is bit 31), and how many there are.
    std::uint32_t BitBuffer = 0;
    std::uint8_t BitCount = 0;
    LZHByteProc source_;
    LZHByteProc sink_;
    // The byte areas and the count answers of the source and sink calls.
    std::uint8_t received_ = 0;
    std::uint8_t offered_ = 0;
    std::uint16_t answer_ = 0;
};

}  // namespace

void LZHUnpack(std::int32_t textSize, LZHByteProc source, LZHByteProc sink) {
    std::unique_ptr<LZHDecoder> decoder;
    try {
        decoder = std::make_unique<LZHDecoder>(source, sink);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    decoder->Run(textSize);
}
