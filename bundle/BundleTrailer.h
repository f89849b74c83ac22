// The directory trailer at the end of the setup program: the bundle's file list and total size.
//
// The trailer is the last 28 * N + 5 bytes of the file; it ends exactly at the end of the file.
// Every integer is little-endian; the 32-bit ones are signed.
//
//   from the end of the file      size     field
//   -28*N-5 .. -6                 28 * N   N records, first record first
//   -5                            1        N, the record count, unsigned (0 to 255)
//   -4 .. -1                      4        total: size of the decompressed bundle
//
// One record, 28 bytes:
//
//   offset  size  field
//   0       1     name length L (0 to 19 in a sound trailer)
//   1       19    name characters, single-byte; only the first L count, the rest is filler
//   20      4     offset of the file's first byte in the bundle
//   24      4     size of the file
//
// There is no signature, version or checksum.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr std::size_t TrailerNameField = 19;
constexpr std::size_t TrailerRecordSize = 28;
// Where a record's two integers lie in it.
constexpr std::size_t TrailerOffsetField = 20;
constexpr std::size_t TrailerSizeField = 24;
// The count byte and the total that close the trailer.
constexpr std::size_t TrailerTailSize = 5;
constexpr std::size_t MaxTrailerRecords = 255;

constexpr std::size_t TrailerSize(std::size_t records) { return TrailerRecordSize * records + TrailerTailSize; }

// One record as it lies in the file, the length byte kept apart from the characters so that a
// length above 19 stays visible to the validation.
struct TrailerRecord {
    std::uint8_t NameLength = 0;
    std::array<char, TrailerNameField> NameChars{};
    std::int32_t Offset = 0;
    std::int32_t Size = 0;

    // The name as far as the field holds it: the first L characters, at most 19.
    std::string Name() const;
};

// A record for name, with zero filler; name must fit the 19-character field.
TrailerRecord MakeTrailerRecord(const std::string& name, std::int32_t offset, std::int32_t size);

// Everything a trailer holds, in trailer order.
struct TrailerContents {
    std::vector<TrailerRecord> Records;
    std::int32_t Total = 0;
};

// The trailer that closes bytes, which must be exactly TrailerSize(count) long for its count.
// Nothing when the count byte does not fit the length.
std::optional<TrailerContents> TrailerFromBytes(std::span<const std::uint8_t> bytes);

inline std::int32_t LoadLE32(const std::uint8_t* bytes) {
    const std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(value);
}

inline void StoreLE32(std::uint8_t* bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    bytes[0] = static_cast<std::uint8_t>(bits);
    bytes[1] = static_cast<std::uint8_t>(bits >> 8);
    bytes[2] = static_cast<std::uint8_t>(bits >> 16);
    bytes[3] = static_cast<std::uint8_t>(bits >> 24);
}
