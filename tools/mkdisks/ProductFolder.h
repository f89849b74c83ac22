// The product folder that a bundle is made of, with every check the setup program's file list
// and extraction need.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ProductFile {
    std::string Name;  // as the file list carries it
    std::filesystem::path Path;
    std::uint64_t Size = 0;
};

// The bundle must stay below 2 GiB: the setup program counts it in signed 32 bits.
constexpr std::uint64_t BundleSizeLimit = std::uint64_t{1} << 31;

// The product's files in bundle order: the main program (ProductConfig.ExeFileName, found
// without regard to case) first, then the others in the order of the manifest (one name per
// line) or, without one, sorted by name. All faults of the folder are reported together in one
// MkdisksError: subfolders, names that cannot be listed, names equal but for case, a missing or
// empty main program, no other file, more than 255 other files, a bundle of 2 GiB or more.
std::vector<ProductFile> ScanProductFolder(const std::filesystem::path& folder,
                                           const std::optional<std::filesystem::path>& manifest);
