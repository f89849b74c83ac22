// The fixed prefix code of a distance's upper six bits. The 64 values get consecutive codes in
// ascending order, the short codes for the near distances; a code of length L covers 2^(8 - L)
// consecutive values of the next eight stream bits, which is how the decoder looks it up.
#pragma once

#include <array>
#include <cstdint>

#include "lzh/LZHFormat.h"

// Code length of each value of the upper bits: 1 value of 3 bits, 3 of 4, 8 of 5, 12 of 6,
// 24 of 7 and 16 of 8.
constexpr int DistanceCodeLength(int high) {
    return high < 1 ? 3 : high < 4 ? 4 : high < 12 ? 5 : high < 24 ? 6 : high < 48 ? 7 : 8;
}

struct DistanceCodeTables {
    // Indexed by the next eight stream bits: the value whose code starts them, and its length.
    std::array<std::uint8_t, 256> DecodeHigh{};
    std::array<std::uint8_t, 256> DecodeLength{};
    // Indexed by the value: its code, right-aligned, and its length.
    std::array<std::uint8_t, DistanceHighCount> EncodeCode{};
    std::array<std::uint8_t, DistanceHighCount> EncodeLength{};
};

constexpr DistanceCodeTables MakeDistanceCodeTables() {
    DistanceCodeTables tables;
    int index = 0;
    for (int high = 0; high < DistanceHighCount; ++high) {
        const int length = DistanceCodeLength(high);
        const int span = 1 << (8 - length);
        tables.EncodeCode[high] = static_cast<std::uint8_t>(index / span);
        tables.EncodeLength[high] = static_cast<std::uint8_t>(length);
        for (int k = 0; k < span; ++k, ++index) {
            tables.DecodeHigh[index] = static_cast<std::uint8_t>(high);
            tables.DecodeLength[index] = static_cast<std::uint8_t>(length);
        }
    }
    return tables;
}

inline constexpr DistanceCodeTables DistanceCode = MakeDistanceCodeTables();
inline constexpr const std::array<std::uint8_t, 256>& DecodeHigh = DistanceCode.DecodeHigh;
inline constexpr const std::array<std::uint8_t, 256>& DecodeLength = DistanceCode.DecodeLength;

// The code lengths must fill the 256 indices exactly, each value's span aligned to its size,
// or the lookup by eight bits would be ambiguous.
static_assert(DecodeHigh[31] == 0 && DecodeHigh[32] == 1 && DecodeHigh[79] == 3 && DecodeHigh[80] == 4);
static_assert(DecodeHigh[143] == 11 && DecodeHigh[144] == 12 && DecodeHigh[191] == 23);
static_assert(DecodeHigh[192] == 24 && DecodeHigh[239] == 47 && DecodeHigh[240] == 48 && DecodeHigh[255] == 63);
static_assert(DecodeLength[0] == 3 && DecodeLength[255] == 8);
