#pragma once

#include <cstdint>

// The decoder's byte source and sink: a byte area, the number of bytes requested (source) or
// offered (sink), and the number actually delivered or taken. There is no context argument: a
// source or sink reaches its own state through process-wide state.
using LZHByteProc = void (*)(void* buffer, std::uint16_t count, std::uint16_t& actual);
