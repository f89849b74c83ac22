#include "bundle/VolumeAssembly.h"

#include <algorithm>
#include <array>

#include "bundle/BundleDirectoryReader.h"
#include "setup/CheckedFile.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "ui/ProgressMeter.h"
#include "ui/PumpMessages.h"

namespace {

constexpr std::uint32_t BlockSize = 2048;

// Install media may be write-protected: volumes are only ever read.
constexpr std::uint8_t VolumeOpenMode = 0;

void CopyVolume(CheckedFile& volume, CheckedFile& archive, std::int64_t& count, bool cap) {
    std::array<std::uint8_t, BlockSize> block;
    while (!volume.Eof() && SetupState.ContinueFlag != 0) {
        const std::uint32_t got = volume.Read(block.data(), BlockSize);
        archive.Write(block.data(), got);
        count += got;
        MeterDraw(static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX)), AssemblyMeterTotal, cap);
        PumpMessages();
    }
}

void AppendVolume(CheckedFile& archive, std::int64_t& count, bool cap) {
    CheckedFile volume;
    volume.Open(JoinPath(SetupState.SourceDir, ProductConfig.VolumeFileName), VolumeOpenMode);
    CopyVolume(volume, archive, count, cap);
    volume.Close();
}

void ChangeDisk(DiskPrompter& prompter, int disk) {
    const std::string prompt = DiskPrompt(disk);
    ProductConfig.VolumeFileName = WithExtension(ProductConfig.VolumeFileName, ".00" + std::to_string(disk));
    const std::string path = JoinPath(SetupState.SourceDir, ProductConfig.VolumeFileName);
    while (!IsExistingFile(path) && SetupState.ContinueFlag != 0) {
        if (prompter.AskForDisk(prompt)) {
            if (!IsExistingFile(path)) prompter.ShowWrongDisk(ProductConfig.WrongDiskMessage);
        } else if (!IsExistingFile(path)) {
            SetupState.ContinueFlag = 0;
        }
    }
}

}  // namespace

std::string DiskPrompt(int disk) { return "Please Insert Disk number " + std::to_string(disk); }

void AssembleVolumes(DiskPrompter& prompter, const std::string& setupPath) {
    ReadBundleDirectory(setupPath);

    CheckedFile volume;
    volume.Open(JoinPath(SetupState.SourceDir, ProductConfig.VolumeFileName), VolumeOpenMode);
    CheckedFile archive;
    archive.Create(JoinPath(SetupState.DestDir, ProductConfig.ArchiveFileName));
    SetupState.ArchiveCreated = true;

    std::int64_t count = 0;
    SetupState.ProgressMeter.LastDrawnPercent = -1;
    CopyVolume(volume, archive, count, false);
    volume.Close();

    for (int disk = 2; disk <= MaxVolumes; ++disk) {
        if (ProductConfig.DiskCount < disk || SetupState.ContinueFlag == 0) continue;
        ChangeDisk(prompter, disk);
        if (SetupState.ContinueFlag != 0) AppendVolume(archive, count, true);
    }
    archive.Close();
}
