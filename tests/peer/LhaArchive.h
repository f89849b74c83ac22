// A one-file LHA archive around a stream of our encoder, so that an independent extractor can
// check it: the method -lh1- is exactly our stream.
//
// Layout (level-0 header, integers little-endian):
//   offset  size  field
//   0       1     header size: the bytes from offset 2 to the end of the header (22 + name length)
//   1       1     header checksum: the sum of those bytes, modulo 256
//   2       5     method "-lh1-"
//   7       4     compressed size (the stream's length)
//   11      4     original size
//   15      4     DOS time (16 bits), then DOS date (16 bits)
//   19      1     file attribute (0x20, archive)
//   20      1     header level (0)
//   21      1     name length n
//   22      n     name
//   22 + n  2     CRC-16 of the original data (polynomial 0xA001, reflected, starting at 0)
//   24 + n  ...   the stream, then one zero byte that ends the archive
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

std::uint16_t LhaCrc16(std::span<const std::uint8_t> data);

std::vector<std::uint8_t> MakeLh1Archive(std::string_view name, std::span<const std::uint8_t> original,
                                         std::span<const std::uint8_t> stream);
