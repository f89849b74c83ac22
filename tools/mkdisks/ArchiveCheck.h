// Decoding a joined archive the way the setup program does (LZHUnpack through DecodeMemory), and
// judging whether it is the archive of the bundle that the file list describes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct DecodedArchive {
    std::vector<std::uint8_t> Bundle;  // the decoded bytes, cut to the total when more came out
    std::string Fault;                 // why the archive is not the bundle's, or empty
};

// The most bytes an archive can decode to when it is used up with at most one read past its end:
// a symbol takes at least one bit and a match at least ten (one for its length, nine for its
// distance) for at most 60 bytes, so no bit yields more than 6 bytes.
std::uint64_t MaxDecodedSize(std::uint64_t archiveSize);

// Decodes total bytes. Sound when the decoder took every archive byte, asked at most once more
// (its bit buffer reads ahead by one byte), and stopped exactly at the total. A total the archive
// cannot reach is judged without decoding, so that damaged disks cost no more than sound ones.
DecodedArchive DecodeArchive(std::span<const std::uint8_t> archive, std::int32_t total);
