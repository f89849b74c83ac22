#include "tools/mkdisks/ArchiveCheck.h"

#include <algorithm>

#include "lzh/MemoryStreams.h"

namespace {

constexpr std::uint64_t MaxBytesPerArchiveByte = 6 * 8;
constexpr std::uint64_t AllowedDryReads = 1;

}  // namespace

std::uint64_t MaxDecodedSize(std::uint64_t archiveSize) {
    return MaxBytesPerArchiveByte * (archiveSize + AllowedDryReads);
}

DecodedArchive DecodeArchive(std::span<const std::uint8_t> archive, std::int32_t total) {
    DecodedArchive decoded;
    if (total < 0) {
        decoded.Fault = "the bundle's size " + std::to_string(total) + " is negative";
        return decoded;
    }
    const auto wanted = static_cast<std::uint64_t>(total);
    if (wanted > MaxDecodedSize(archive.size())) {
        decoded.Fault = "the volumes hold " + std::to_string(archive.size()) + " archive bytes, too few for a bundle of " +
                        std::to_string(total) + " bytes: a volume is cut short, missing or from another set";
        return decoded;
    }

    MemoryDecodeResult result = DecodeMemory(archive, total);
    if (result.DryReads > AllowedDryReads) {
        decoded.Fault = "the archive ran out before the bundle was complete: a volume is cut short, missing or from "
                        "another set";
    } else if (result.BytesDelivered < archive.size()) {
        decoded.Fault = "the bundle was complete with " + std::to_string(archive.size() - result.BytesDelivered) +
                        " archive bytes left over: a volume is damaged, too long or from another set";
    } else if (result.Output.size() > wanted) {
        decoded.Fault = "the archive's last match runs " + std::to_string(result.Output.size() - wanted) +
                        " bytes past the bundle's end: the volumes are damaged or from another set";
    }
    result.Output.resize(std::min<std::size_t>(result.Output.size(), wanted));
    decoded.Bundle = std::move(result.Output);
    return decoded;
}
