// `mkdisks build`: the distribution disks of a product, made from its folder and the setup program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>

#include "tools/mkdisks/DiskPlan.h"

struct BuildOptions {
    std::filesystem::path Setup;
    std::filesystem::path Out;
    std::filesystem::path ProductFolder;
    std::optional<std::filesystem::path> Manifest;
    // The uninstaller that goes into every bundle; UnInstal.Exe beside the setup program by default.
    std::optional<std::filesystem::path> Uninstaller;
    std::uint64_t DiskSize = DefaultDiskSize;
};

// The bundle is the main program, the product's other files and, last, the uninstaller with the
// same trailer appended, so that it knows what was installed. Writes Out/disk1 (the setup program
// with the bundle's trailer appended, and volume 1) and
// Out/disk2 ... with one volume each, up to VolumeCount(). Everything is checked and packed
// before a file is written, and the disks are made in a folder beside Out that becomes Out only
// when complete: on any failure (MkdisksError) nothing is left behind. A summary goes to out,
// progress to log.
void BuildDisks(const BuildOptions& options, std::ostream& out, std::ostream& log);
