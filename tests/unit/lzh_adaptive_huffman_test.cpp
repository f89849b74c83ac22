// The adaptive Huffman model: its invariants under any sequence of symbols, the moment and the
// result of a rebuild, and the path-following update against the plain one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lzh/AdaptiveHuffman.h"

namespace {

// Every structural rule of the tree; returns the first one broken, or an empty string.
std::string BrokenRule(const AdaptiveHuffmanTree& tree) {
    if (tree.NodeParent[RootNode] != 0) return "the root's parent entry is not 0";
    if (tree.NodeFreq[TreeSize] != 0xFFFF) return "the sentinel is gone";
    std::vector<int> leafOf(SymbolCount, -1);
    std::uint32_t leafTotal = 0;
    for (int i = 0; i < TreeSize; ++i) {
        if (i > 0 && tree.NodeFreq[i] < tree.NodeFreq[i - 1]) return "frequencies fall at " + std::to_string(i);
        const int child = tree.NodeChild[i];
        if (AdaptiveHuffmanTree::IsLeaf(child)) {
            const int symbol = child - TreeSize;
            if (symbol >= SymbolCount || leafOf[symbol] >= 0) return "bad or repeated leaf at " + std::to_string(i);
            leafOf[symbol] = i;
            if (tree.NodeParent[child] != i) return "leaf map of symbol " + std::to_string(symbol) + " is wrong";
            leafTotal += tree.NodeFreq[i];
        } else {
            if (child % 2 != 0 || child + 1 >= i) return "bad first child of " + std::to_string(i);
            if (tree.NodeParent[child] != i || tree.NodeParent[child + 1] != i)
                return "children of " + std::to_string(i) + " do not point back";
            if (tree.NodeFreq[i] != tree.NodeFreq[child] + tree.NodeFreq[child + 1])
                return "frequency of " + std::to_string(i) + " is not its children's sum";
        }
    }
    if (leafTotal != tree.NodeFreq[RootNode]) return "the root does not count every leaf";
    return "";
}

// Leaf-to-root walk, as the encoder finds a symbol's code: the path from a child of the root
// down to the symbol's leaf.
std::vector<std::uint16_t> PathTo(const AdaptiveHuffmanTree& tree, int symbol) {
    std::vector<std::uint16_t> path;
    for (int c = tree.NodeParent[TreeSize + symbol]; c != RootNode; c = tree.NodeParent[c])
        path.insert(path.begin(), static_cast<std::uint16_t>(c));
    return path;
}

// Symbols with a skewed, shifting distribution: deep and shallow leaves, frequent exchanges.
std::vector<int> SkewedSymbols(std::size_t count, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::geometric_distribution<int> geometric(0.05);
    std::vector<int> symbols(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int offset = static_cast<int>(i / 20000) * 37;
        symbols[i] = (geometric(random) + offset) % SymbolCount;
    }
    return symbols;
}

TEST(AdaptiveHuffman, KeepsItsRulesThroughUpdatesAndRebuilds) {
    AdaptiveHuffmanTree tree;
    tree.StartTree();
    ASSERT_EQ(BrokenRule(tree), "");
    EXPECT_EQ(tree.NodeFreq[RootNode], SymbolCount);

    int rebuilds = 0;
    const std::vector<int> symbols = SkewedSymbols(120000, 1);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const std::uint16_t rootBefore = tree.NodeFreq[RootNode];
        tree.UpdateTree(symbols[i]);
        const bool rebuilt = tree.NodeFreq[RootNode] < rootBefore;
        rebuilds += rebuilt;
        if (rebuilt || i % 499 == 0) {
            ASSERT_EQ(BrokenRule(tree), "") << "after update " << i;
        }
    }
    EXPECT_GE(rebuilds, 3);
}

TEST(AdaptiveHuffman, RebuildsAtThe32455thSymbolWithHalvedFrequencies) {
    AdaptiveHuffmanTree tree;
    tree.StartTree();
    const std::vector<int> symbols = SkewedSymbols(32455, 2);
    for (std::size_t i = 0; i + 1 < symbols.size(); ++i) tree.UpdateTree(symbols[i]);
    ASSERT_EQ(tree.NodeFreq[RootNode], MaxFreq);

    std::vector<std::uint16_t> before(SymbolCount);
    for (int s = 0; s < SymbolCount; ++s) before[s] = tree.NodeFreq[tree.NodeParent[TreeSize + s]];
    const auto leafOrder = [&] {
        std::vector<int> order;
        for (int i = 0; i < TreeSize; ++i) {
            if (AdaptiveHuffmanTree::IsLeaf(tree.NodeChild[i])) order.push_back(tree.NodeChild[i]);
        }
        return order;
    };
    const std::vector<int> orderBefore = leafOrder();
    const int last = symbols.back();
    tree.RebuildTree();
    ASSERT_EQ(BrokenRule(tree), "");
    EXPECT_EQ(leafOrder(), orderBefore) << "the leaves kept their order";
    // A new inner node goes after every node of its frequency, so in a run of equal
    // frequencies the leaves come first.
    for (int i = 1; i < TreeSize; ++i) {
        if (tree.NodeFreq[i] == tree.NodeFreq[i - 1] && AdaptiveHuffmanTree::IsLeaf(tree.NodeChild[i])) {
            EXPECT_TRUE(AdaptiveHuffmanTree::IsLeaf(tree.NodeChild[i - 1])) << "inner node before a leaf at " << i;
        }
    }

    // The update that finds the root at MaxFreq is the one that rebuilds.
    tree.StartTree();
    for (std::size_t i = 0; i + 1 < symbols.size(); ++i) tree.UpdateTree(symbols[i]);
    tree.UpdateTree(last);
    ASSERT_EQ(BrokenRule(tree), "");
    std::uint32_t expectedRoot = 1;
    for (int s = 0; s < SymbolCount; ++s) {
        const int expected = (before[s] + 1) / 2 + (s == last ? 1 : 0);
        EXPECT_EQ(tree.NodeFreq[tree.NodeParent[TreeSize + s]], expected) << "symbol " << s;
        expectedRoot += static_cast<std::uint32_t>((before[s] + 1) / 2);
    }
    EXPECT_EQ(tree.NodeFreq[RootNode], expectedRoot);
}

// The decoder and the encoder count through the path they walked; it must come out the same as
// the plain update, also across rebuilds.
TEST(AdaptiveHuffman, UpdateAlongAPathMatchesThePlainUpdate) {
    for (std::uint32_t seed : {3u, 4u}) {
        AdaptiveHuffmanTree plain;
        AdaptiveHuffmanTree walked;
        plain.StartTree();
        walked.StartTree();
        const std::vector<int> symbols = SkewedSymbols(70000, seed);
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            const std::vector<std::uint16_t> path = PathTo(walked, symbols[i]);
            plain.UpdateTree(symbols[i]);
            walked.UpdateTree(symbols[i], path.data(), static_cast<int>(path.size()));
            ASSERT_TRUE(plain.NodeFreq == walked.NodeFreq && plain.NodeChild == walked.NodeChild &&
                        plain.NodeParent == walked.NodeParent)
                << "trees differ after update " << i << " (seed " << seed << ")";
        }
    }
}

}  // namespace
