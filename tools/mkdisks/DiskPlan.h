// How the archive is cut into the volume files of the distribution disks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The data area of a 1.44 MB floppy: 2847 clusters of 512 bytes.
constexpr std::uint64_t DefaultDiskSize = 1457664;
// A file on such a floppy takes whole clusters.
constexpr std::uint64_t DiskCluster = 512;

// The number of volumes the setup program reads: DiskCount, but volume 1 always and never more
// than four.
int VolumeCount();

// The file name of volume n (from 1) as the setup program looks for it: VolumeFileName, then the
// same name with ".002", ".003" and ".004".
std::string VolumeName(int volume);

// The sizes of the VolumeCount() volumes for an archive of archiveSize bytes: each disk filled to
// diskSize, disk 1 less the whole clusters that the setup program with its trailer takes; the
// volumes after the archive's end are empty. Raises MkdisksError when it does not fit.
std::vector<std::uint64_t> PlanVolumes(std::uint64_t archiveSize, std::uint64_t setupSize, std::uint64_t diskSize);
