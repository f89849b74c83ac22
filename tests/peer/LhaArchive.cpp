#include "tests/peer/LhaArchive.h"

#include <array>
#include <numeric>
#include <stdexcept>

namespace {

constexpr std::array<std::uint16_t, 256> MakeCrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        table[i] = static_cast<std::uint16_t>(crc);
    }
    return table;
}
constexpr std::array<std::uint16_t, 256> CrcTable = MakeCrcTable();

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// 1996-05-01 12:00:00 in the DOS format: the time (hours, minutes, seconds / 2) and the date
// (years since 1980, month, day).
constexpr std::uint16_t DosTime = (12 << 11) | (0 << 5) | 0;
constexpr std::uint16_t DosDate = ((1996 - 1980) << 9) | (5 << 5) | 1;

}  // namespace

std::uint16_t LhaCrc16(std::span<const std::uint8_t> data) {
    std::uint16_t crc = 0;
    for (std::uint8_t b : data) crc = static_cast<std::uint16_t>((crc >> 8) ^ CrcTable[(crc ^ b) & 0xFF]);
    return crc;
}

std::vector<std::uint8_t> MakeLh1Archive(std::string_view name, std::span<const std::uint8_t> original,
                                         std::span<const std::uint8_t> stream) {
    // The header size must fit its one byte.
    if (name.size() > 200) throw std::invalid_argument("archive member name too long");
    std::vector<std::uint8_t> archive = {0, 0, '-', 'l', 'h', '1', '-'};
    PutLittleEndian(archive, static_cast<std::uint32_t>(stream.size()), 4);
    PutLittleEndian(archive, static_cast<std::uint32_t>(original.size()), 4);
    PutLittleEndian(archive, DosTime, 2);
    PutLittleEndian(archive, DosDate, 2);
    archive.push_back(0x20);
    archive.push_back(0);
    archive.push_back(static_cast<std::uint8_t>(name.size()));
    archive.insert(archive.end(), name.begin(), name.end());
    PutLittleEndian(archive, LhaCrc16(original), 2);
    archive[0] = static_cast<std::uint8_t>(archive.size() - 2);
    archive[1] = static_cast<std::uint8_t>(std::accumulate(archive.begin() + 2, archive.end(), 0u));
    archive.insert(archive.end(), stream.begin(), stream.end());
    archive.push_back(0);
    return archive;
}
