#include "tools/mkdisks/DiskPlan.h"

#include <algorithm>

#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "tools/mkdisks/MkdisksError.h"

int VolumeCount() { return std::clamp(ProductConfig.DiskCount, 1, 4); }

std::string VolumeName(int volume) {
    if (volume == 1) return ProductConfig.VolumeFileName;
    return WithExtension(ProductConfig.VolumeFileName, ".00" + std::to_string(volume));
}

std::vector<std::uint64_t> PlanVolumes(std::uint64_t archiveSize, std::uint64_t setupSize, std::uint64_t diskSize) {
    const std::uint64_t setupSpace = (setupSize + DiskCluster - 1) / DiskCluster * DiskCluster;
    if (setupSpace > diskSize) {
        throw MkdisksError("the setup program with its file list takes " + std::to_string(setupSpace) +
                           " bytes on disk 1, more than a disk of " + std::to_string(diskSize) + " bytes holds");
    }
    const int volumes = VolumeCount();
    std::vector<std::uint64_t> sizes(volumes, 0);
    std::uint64_t left = archiveSize;
    for (int v = 0; v < volumes; ++v) {
        const std::uint64_t room = v == 0 ? diskSize - setupSpace : diskSize;
        sizes[v] = std::min(left, room);
        left -= sizes[v];
    }
    if (left > 0) {
        const std::uint64_t beyondDisk1 = archiveSize - (diskSize - setupSpace);
        const std::uint64_t needed = 1 + (beyondDisk1 + diskSize - 1) / diskSize;
        throw MkdisksError("the archive of " + std::to_string(archiveSize) + " bytes needs " + std::to_string(needed) +
                           " disks of " + std::to_string(diskSize) + " bytes (disk 1 keeps " +
                           std::to_string(setupSpace) + " bytes for the setup program), but the product ships on " +
                           std::to_string(volumes) + " disks; use larger disks (--disk-size) or fewer files");
    }
    return sizes;
}
