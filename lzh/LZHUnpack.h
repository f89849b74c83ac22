// The LZHUF decoder: LZSS over a 4096-byte window with matches of 3 to 60 bytes, literals and
// lengths in an adaptive Huffman code, distances' upper six bits in a fixed prefix code.
#pragma once

#include <cstdint>

#include "lzh/LZHByteProc.h"

// Decodes until at least textSize bytes have gone to sink, or until ContinueFlag is found clear
// before a symbol. Bytes come from source one at a time; any actual other than 1 counts as 0.
// Raises ElzhException when its tables cannot be obtained.
void LZHUnpack(std::int32_t textSize, LZHByteProc source, LZHByteProc sink);
