#include "bundle/TrailerWriter.h"

#include <algorithm>
#include <stdexcept>

#include "setup/CheckedFile.h"

std::vector<std::uint8_t> TrailerBytes(const TrailerContents& trailer) {
    if (trailer.Records.size() > MaxTrailerRecords) {
        throw std::invalid_argument("a trailer holds at most 255 records");
    }
    std::vector<std::uint8_t> bytes(TrailerSize(trailer.Records.size()));
    std::uint8_t* at = bytes.data();
    for (const TrailerRecord& record : trailer.Records) {
        at[0] = record.NameLength;
        std::copy(record.NameChars.begin(), record.NameChars.end(), at + 1);
        StoreLE32(at + TrailerOffsetField, record.Offset);
        StoreLE32(at + TrailerSizeField, record.Size);
        at += TrailerRecordSize;
    }
    at[0] = static_cast<std::uint8_t>(trailer.Records.size());
    StoreLE32(at + 1, trailer.Total);
    return bytes;
}

void AppendTrailer(const std::string& path, const TrailerContents& trailer) {
    const std::vector<std::uint8_t> bytes = TrailerBytes(trailer);
    CheckedFile file;
    file.Open(path, 2);
    file.Seek(file.Size());
    file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    file.Close();
}
