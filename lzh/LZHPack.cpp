#include "lzh/LZHPack.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "lzh/AdaptiveHuffman.h"
#include "lzh/DistanceCode.h"
#include "lzh/LZHFormat.h"

namespace {

// Collects bits most significant first and appends whole bytes to the stream.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // length is at most 56: the pending bits are fewer than 8 before and after every call.
    void Put(std::uint64_t code, int length) {
        pending_ = (pending_ << length) | code;
        count_ += length;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(pending_ >> count_));
        }
    }

    // Pads the last byte with zero bits.
    void Finish() {
        if (count_ > 0) Put(0, 8 - count_);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t pending_ = 0;
    int count_ = 0;
};

struct Match {
    int Length = 0;
    int Distance = 0;
};

// Finds the longest earlier occurrence of the bytes at a position, through hash chains over the
// window. Positions are indices into the text as the decoder's window sees it: WindowStart spaces,
// then the data.
class MatchFinder {
public:
    explicit MatchFinder(std::span<const std::uint8_t> data)
        : text_(WindowStart + data.size(), WindowFill), end_(static_cast<int>(text_.size())) {
        std::copy(data.begin(), data.end(), text_.begin() + WindowStart);
        head_.fill(-1);
        prev_.fill(-1);
    }

    int End() const { return end_; }
    std::uint8_t At(int pos) const { return text_[pos]; }

    void Insert(int pos) {
        if (pos + MinMatch > end_) return;
        std::int32_t& head = head_[Hash(pos)];
        prev_[pos & RingMask] = head;
        head = pos;
    }

    // Every position below pos must be inserted, pos itself not yet: then the chain slots of the
    // window's 4096 positions are all still their own.
    Match Find(int pos) const {
        Match best;
        const int maxLength = std::min(MaxMatch, end_ - pos);
        if (maxLength < MinMatch) return best;
        // Never further back than the window, nor before the prepared spaces: the decoder's
        // positions behind them are not written yet.
        const int limit = std::max(0, pos - RingSize);
        const std::uint8_t* here = text_.data() + pos;
        int candidate = head_[Hash(pos)];
        for (int chain = MaxChain; candidate >= limit && chain > 0; --chain) {
            const std::uint8_t* there = text_.data() + candidate;
            // A match may overlap the bytes it produces: the decoder copies byte by byte, and the
            // text holds every byte it will have written by then.
            if (there[best.Length] == here[best.Length] && there[0] == here[0]) {
                int length = 1;
                while (length < maxLength && there[length] == here[length]) ++length;
                if (length > best.Length) {
                    best = Match{length, pos - candidate - 1};
                    if (length == maxLength) break;
                }
            }
            candidate = prev_[candidate & RingMask];
        }
        if (best.Length < MinMatch) best.Length = 0;
        return best;
    }

private:
    static constexpr int HashBits = 15;
    static constexpr int MaxChain = 96;

    int Hash(int pos) const {
        const std::uint32_t v = text_[pos] | (text_[pos + 1] << 8) | (text_[pos + 2] << 16);
        return static_cast<int>((v * 2654435761u) >> (32 - HashBits));
    }

    std::vector<std::uint8_t> text_;
    int end_;
    std::array<std::int32_t, 1 << HashBits> head_;
    // Chained by window position: the older occurrence of the same hash, or -1.
    std::array<std::int32_t, RingSize> prev_;
};

class LZHEncoder {
public:
    explicit LZHEncoder(std::vector<std::uint8_t>& out) : bits_(out) { tree_.StartTree(); }

    void Literal(std::uint8_t byte) { Symbol(byte); }

    void Copy(const Match& match) {
        Symbol(MatchSymbol(match.Length));
        const int high = match.Distance >> DistanceLowBits;
        bits_.Put(DistanceCode.EncodeCode[high], DistanceCode.EncodeLength[high]);
        bits_.Put(match.Distance & ((1 << DistanceLowBits) - 1), DistanceLowBits);
    }

    void Finish() { bits_.Finish(); }

private:
    // The code of a symbol is its path from the root; walking up from the leaf yields it last bit
    // first. A second child sits at an odd index. The tree keeps the sibling property of a
    // Huffman tree, and with frequencies summing below 2^16 that bounds its depth to about 24
    // (the Fibonacci bound), far from BitWriter's 56 bits.
    void Symbol(int symbol) {
        std::uint64_t code = 0;
        int length = 0;
        for (int c = tree_.NodeParent[TreeSize + symbol]; c != RootNode; c = tree_.NodeParent[c]) {
            code |= static_cast<std::uint64_t>(c & 1) << length;
            ++length;
        }
        bits_.Put(code, length);
        tree_.UpdateTree(symbol);
    }

    AdaptiveHuffmanTree tree_;
    BitWriter bits_;
};

constexpr std::size_t ProgressStep = 1 << 16;

}  // namespace

std::vector<std::uint8_t> LZHPack(std::span<const std::uint8_t> data, const PackProgress& progress) {
    // Positions are ints, and the decoder counts its output in a signed 32-bit size.
    if (data.size() > static_cast<std::size_t>(INT32_MAX) - WindowStart)
        throw std::length_error("LZHPack: input larger than a stream's size can say");
    std::vector<std::uint8_t> out;
    out.reserve(data.size() / 2 + 16);
    auto finder = std::make_unique<MatchFinder>(data);
    LZHEncoder encoder(out);

    for (int pos = 0; pos < WindowStart; ++pos) finder->Insert(pos);
    const int end = finder->End();
    int pos = WindowStart;
    std::size_t nextReport = ProgressStep;
    Match current = finder->Find(pos);
    while (pos < end) {
        finder->Insert(pos);
        if (current.Length == 0) {
            encoder.Literal(finder->At(pos));
            ++pos;
            current = finder->Find(pos);
        } else {
            // Lazy matching: a longer match one byte on is worth a literal first.
            const Match next = finder->Find(pos + 1);
            if (next.Length > current.Length) {
                encoder.Literal(finder->At(pos));
                ++pos;
                current = next;
            } else {
                encoder.Copy(current);
                for (int k = 1; k < current.Length; ++k) finder->Insert(pos + k);
                pos += current.Length;
                current = finder->Find(pos);
            }
        }
        if (progress && static_cast<std::size_t>(pos - WindowStart) >= nextReport) {
            progress(static_cast<std::size_t>(pos - WindowStart));
            nextReport += ProgressStep;
        }
    }
    encoder.Finish();
    if (progress) progress(data.size());
    return out;
}
