// The installer's byte source and sink for the decoder: the archive read through a 2048-byte buffer,
// the bundle written in 2048-byte blocks with the meter moved after each. Their state lives in
// SetupState (SourcePos, SourceFill, ArchiveHandle, SinkPos, BundleHandle, SinkWritten); the
// extraction opens the files and resets the positions before a decoding.
#pragma once

#include <cstdint>

// Block size of both buffers.
constexpr std::uint16_t DecoderBlockSize = 2048;

// Delivers up to count archive bytes; actual 0 when the archive is used up or ContinueFlag is clear.
// Drains the message queue each time it reads a new block. A failed read raises EInOutError.
void ArchiveSource(void* buffer, std::uint16_t count, std::uint16_t& actual);

// Takes count bytes (actual = count), or drops them (actual 0) when ContinueFlag is clear. A count of
// 0 writes out the held bytes and leaves actual unset. A failed or short write raises EInOutError.
void BundleSink(void* buffer, std::uint16_t count, std::uint16_t& actual);
