// Decoding between memory buffers, for the tools, the tests and the fuzzers. The byte procedures
// reach their buffers through this unit's own state, since LZHByteProc has no context.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct MemoryDecodeResult {
    std::vector<std::uint8_t> Output;  // every byte the decoder gave, possibly past the size asked for
    std::uint64_t BytesDelivered = 0;  // archive bytes the source handed to the decoder
    std::uint64_t DryReads = 0;        // source calls that found the archive used up
};

// Decodes size bytes of archive through LZHUnpack, with ContinueFlag set for the call.
MemoryDecodeResult DecodeMemory(std::span<const std::uint8_t> archive, std::int32_t size);
