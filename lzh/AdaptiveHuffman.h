// The adaptive Huffman model of the literals and match lengths. The decoder and the encoder both
// count every symbol through this one model, so their trees cannot drift apart.
#pragma once

#include <array>
#include <cstdint>

#include "lzh/LZHFormat.h"

// Node layout: nodes are kept in ascending order of frequency at indices 0 to RootNode, and the two
// children of an inner node sit at adjacent indices, the first at an even one. A leaf's NodeChild
// holds TreeSize + its symbol, an inner node's the index of its first child.
struct AdaptiveHuffmanTree {
    // The entries past the tree hold 0xFFFF, which ends the upward search in UpdateTree; the
    // search reads SearchWidth entries at a time.
    static constexpr int SearchWidth = 4;
    std::array<std::uint16_t, TreeSize + SearchWidth> NodeFreq;
    std::array<std::uint16_t, TreeSize> NodeChild;
    // Entries below TreeSize: the parent of each node (the root's is 0, which ends every upward
    // walk, as index 0 always holds a leaf). Entry TreeSize + s: the node of symbol s's leaf.
    std::array<std::uint16_t, TreeSize + SymbolCount> NodeParent;

    // Every symbol with frequency 1.
    void StartTree();
    // Counts one occurrence of symbol (0 to SymbolCount - 1), keeping the nodes in order.
    void UpdateTree(int symbol);
    // The same for the symbol whose leaf the caller has just walked to: path holds the depth nodes
    // from a child of the root down to the leaf. Following it saves looking up every parent.
    void UpdateTree(int symbol, const std::uint16_t* path, int depth);
    // Halves every leaf's frequency and builds the inner nodes anew.
    void RebuildTree();

    static constexpr bool IsLeaf(unsigned child) { return child >= TreeSize; }

private:
    // Counts one occurrence in node c and its ancestors.
    void CountUp(unsigned c);
    // Node c's frequency has just become k and passed its successor's: moves it behind the last
    // node of lower frequency, l, which takes c's place. Returns l.
    unsigned Exchange(unsigned c, std::uint16_t k);
};
