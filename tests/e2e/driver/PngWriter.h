// A PNG writer just good enough for screenshots: 8-bit RGB, no filtering, the image data in
// stored (uncompressed) deflate blocks. Every viewer reads it; the files are large but need no
// compression code.
//
// Layout written: the 8-byte signature, then the chunks IHDR, IDAT, IEND, each as
//   length (4, big-endian) | type (4) | data (length) | CRC-32 of type and data (4, big-endian).
// IDAT data is a zlib stream: header 0x78 0x01, stored blocks of at most 65535 bytes each
//   (1 byte final flag and type 0, LEN and NLEN as 16-bit little-endian, then LEN bytes),
//   then the Adler-32 of the uncompressed bytes (4, big-endian).
// The uncompressed bytes are the rows top to bottom, each a filter byte 0 and width RGB triples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// CRC-32 as PNG and zlib use it (reflected, polynomial 0xEDB88320); crc continues an earlier run.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler = 1);

// rgb holds width * height pixels, rows top to bottom, three bytes (red, green, blue) each.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);
