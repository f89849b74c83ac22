#include "bundle/BundleTrailer.h"

#include <algorithm>
#include <stdexcept>

std::string TrailerRecord::Name() const {
    return std::string(NameChars.data(), std::min<std::size_t>(NameLength, TrailerNameField));
}

TrailerRecord MakeTrailerRecord(const std::string& name, std::int32_t offset, std::int32_t size) {
    if (name.size() > TrailerNameField) throw std::invalid_argument("a trailer name holds at most 19 characters");
    TrailerRecord record;
    record.NameLength = static_cast<std::uint8_t>(name.size());
    std::copy(name.begin(), name.end(), record.NameChars.begin());
    record.Offset = offset;
    record.Size = size;
    return record;
}

std::optional<TrailerContents> TrailerFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < TrailerTailSize) return std::nullopt;
    const std::size_t count = bytes[bytes.size() - TrailerTailSize];
    if (bytes.size() != TrailerSize(count)) return std::nullopt;
    TrailerContents trailer;
    trailer.Total = LoadLE32(bytes.data() + bytes.size() - 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* at = bytes.data() + i * TrailerRecordSize;
        TrailerRecord record;
        record.NameLength = at[0];
        std::copy(at + 1, at + 1 + TrailerNameField, record.NameChars.begin());
        record.Offset = LoadLE32(at + TrailerOffsetField);
        record.Size = LoadLE32(at + TrailerSizeField);
        trailer.Records.push_back(record);
    }
    return trailer;
}
