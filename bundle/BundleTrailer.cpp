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
