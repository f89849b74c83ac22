// The fixed parameters of the LZHUF stream, shared by the decoder, the encoder and the tree model.
#pragma once

#include <cstdint>

// The window: every position is taken modulo RingSize.
constexpr int RingSize = 4096;
constexpr int RingMask = RingSize - 1;
// Matches are MatchThreshold + 1 to MaxMatch bytes long.
constexpr int MaxMatch = 60;
constexpr int MatchThreshold = 2;
constexpr int MinMatch = MatchThreshold + 1;
// Before the first symbol the window holds WindowStart spaces and writing starts right after them.
constexpr int WindowStart = RingSize - MaxMatch;
constexpr std::uint8_t WindowFill = 0x20;

// The adaptive Huffman code: 256 literal bytes, then one symbol per match length.
constexpr int LiteralCount = 256;
constexpr int SymbolCount = LiteralCount + MaxMatch - MatchThreshold;
constexpr int TreeSize = 2 * SymbolCount - 1;
constexpr int RootNode = TreeSize - 1;
// The root's frequency at which the tree is rebuilt with halved frequencies.
constexpr std::uint16_t MaxFreq = 0x8000;

// The symbol of a match of the given length, and back.
constexpr int MatchSymbol(int length) { return length - MinMatch + LiteralCount; }
constexpr int MatchLength(int symbol) { return symbol - LiteralCount + MinMatch; }

// A distance d (0 to RingSize - 1) makes a match start d + 1 bytes back. Its upper bits go through
// the prefix code of DistanceCode.h, its lower DistanceLowBits bits as they are.
constexpr int DistanceLowBits = 6;
constexpr int DistanceHighCount = RingSize >> DistanceLowBits;
