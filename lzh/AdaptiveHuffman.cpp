#include "lzh/AdaptiveHuffman.h"

#include <algorithm>

void AdaptiveHuffmanTree::StartTree() {
    for (int s = 0; s < SymbolCount; ++s) {
        NodeFreq[s] = 1;
        NodeChild[s] = static_cast<std::uint16_t>(TreeSize + s);
        NodeParent[TreeSize + s] = static_cast<std::uint16_t>(s);
    }
    for (int i = 0, j = SymbolCount; j < TreeSize; i += 2, ++j) {
        NodeFreq[j] = static_cast<std::uint16_t>(NodeFreq[i] + NodeFreq[i + 1]);
        NodeChild[j] = static_cast<std::uint16_t>(i);
        NodeParent[i] = NodeParent[i + 1] = static_cast<std::uint16_t>(j);
    }
    std::fill(NodeFreq.begin() + TreeSize, NodeFreq.end(), 0xFFFF);
    NodeParent[RootNode] = 0;
}

// Node indices are unsigned in the update: they come from 16-bit entries, and the compiler then
// needs no sign extension on the chain of loads from a node to its parent.
[[gnu::always_inline]] inline unsigned AdaptiveHuffmanTree::Exchange(unsigned c, std::uint16_t k) {
    // Frequencies stay below 0xFFFF (the tree is rebuilt when the root reaches MaxFreq), so the
    // sentinels end the search at TreeSize at the latest, and the root never moves. The entries
    // are in ascending order: those below k among the next SearchWidth come first, and counting
    // them spares a branch per entry.
    static_assert(SearchWidth == 4);
    unsigned l = c + 1;
    for (;;) {
        const unsigned below = (k > NodeFreq[l + 1]) + (k > NodeFreq[l + 2]) + (k > NodeFreq[l + 3]) +
                               (k > NodeFreq[l + 4]);
        l += below;
        if (below < SearchWidth) break;
    }
    NodeFreq[c] = NodeFreq[l];
    NodeFreq[l] = k;

    // An inner node's second child gets its new parent too; for a leaf, the same entry is
    // written twice, which spares a branch that the tree's shape makes unpredictable.
    const unsigned i = NodeChild[c];
    NodeParent[i] = static_cast<std::uint16_t>(l);
    NodeParent[i + !IsLeaf(i)] = static_cast<std::uint16_t>(l);
    const unsigned j = NodeChild[l];
    NodeChild[l] = static_cast<std::uint16_t>(i);
    NodeParent[j] = static_cast<std::uint16_t>(c);
    NodeParent[j + !IsLeaf(j)] = static_cast<std::uint16_t>(c);
    NodeChild[c] = static_cast<std::uint16_t>(j);
    return l;
}

void AdaptiveHuffmanTree::UpdateTree(int symbol) {
    if (NodeFreq[RootNode] == MaxFreq) RebuildTree();
    CountUp(NodeParent[TreeSize + symbol]);
}

void AdaptiveHuffmanTree::UpdateTree(int symbol, const std::uint16_t* path, int depth) {
    if (NodeFreq[RootNode] == MaxFreq) {
        RebuildTree();
        CountUp(NodeParent[TreeSize + symbol]);
        return;
    }
    // Until the first exchange the tree has the shape the path was taken from, so each entry's
    // parent is the entry before it, and the first entry's the root.
    for (int i = depth - 1; i >= 0; --i) {
        const unsigned c = path[i];
        const std::uint16_t k = ++NodeFreq[c];
        if (k > NodeFreq[c + 1]) {
            CountUp(NodeParent[Exchange(c, k)]);
            return;
        }
    }
    ++NodeFreq[RootNode];
}

void AdaptiveHuffmanTree::CountUp(unsigned c) {
    do {
        const std::uint16_t k = ++NodeFreq[c];
        if (k > NodeFreq[c + 1]) c = Exchange(c, k);
        c = NodeParent[c];
    } while (c != 0);
}

void AdaptiveHuffmanTree::RebuildTree() {
    int j = 0;
    for (int i = 0; i < TreeSize; ++i) {
        if (IsLeaf(NodeChild[i])) {
            NodeFreq[j] = static_cast<std::uint16_t>((NodeFreq[i] + 1) / 2);
            NodeChild[j] = NodeChild[i];
            ++j;
        }
    }
    // Each new inner node goes after every node of equal frequency; the nodes above it move up
    // one index as a block. Its children are at i and i + 1, already placed, since its frequency
    // exceeds theirs.
    for (int i = 0, next = SymbolCount; next < TreeSize; i += 2, ++next) {
        const std::uint16_t f = static_cast<std::uint16_t>(NodeFreq[i] + NodeFreq[i + 1]);
        int k = next - 1;
        while (f < NodeFreq[k]) --k;
        ++k;
        std::copy_backward(NodeFreq.begin() + k, NodeFreq.begin() + next, NodeFreq.begin() + next + 1);
        std::copy_backward(NodeChild.begin() + k, NodeChild.begin() + next, NodeChild.begin() + next + 1);
        NodeFreq[k] = f;
        NodeChild[k] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0; i < TreeSize; ++i) {
        const int k = NodeChild[i];
        NodeParent[k] = static_cast<std::uint16_t>(i);
        if (!IsLeaf(k)) NodeParent[k + 1] = static_cast<std::uint16_t>(i);
    }
}
