// The work of the IProgress dialog: read the bundle directory, then join the volume files, disk
// after disk, into the archive in the destination directory.
#pragma once

#include <cstdint>
#include <string>

// The meter's 100 % mark for the volume assembly, whatever the real size of the volumes.
constexpr std::int32_t AssemblyMeterTotal = 3200000;
constexpr int MaxVolumes = 4;

// The boxes of a disk change, owned by the working dialog.
class DiskPrompter {
public:
    virtual ~DiskPrompter() = default;
    // The prompt with OK and Cancel; true on OK.
    virtual bool AskForDisk(const std::string& prompt) = 0;
    // The wrong-disk box: an OK box with an empty caption.
    virtual void ShowWrongDisk(const std::string& message) = 0;
};

// "Please Insert Disk number n".
std::string DiskPrompt(int disk);

// Reads the directory from setupPath, then appends the volumes from SourceDir to the archive in
// DestDir. Ends early, with the archive closed, once ContinueFlag is clear. File failures raise
// EInOutError; a damaged directory raises EDamagedFileList.
void AssembleVolumes(DiskPrompter& prompter, const std::string& setupPath);
