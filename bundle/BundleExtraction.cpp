#include "bundle/BundleExtraction.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "bundle/BundleDirectoryValidation.h"
#include "bundle/BundleTrailer.h"
#include "lzh/LZHUnpack.h"
#include "setup/CheckedFile.h"
#include "setup/Failures.h"
#include "setup/OsFile.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "setup/UninstallEntry.h"
#include "ui/PumpMessages.h"

namespace {

constexpr std::uint32_t BlockSize = 2048;

// The decoder reads one byte past the last byte it needs; an encoder may also end its stream with
// one spare byte. Anything beyond that is a mismatch.
constexpr std::int64_t AllowedSlack = 1;

bool CreateBundleFile(const std::string& path) {
    CheckedFile& bundle = SetupState.BundleHandle;
    if (bundle.TryOpen(path, FileAccess::ReadWrite, FileSharing::None, FileDisposition::CreateAlways) == 0) return true;
    return bundle.TryOpen(path, FileAccess::WriteOnly, FileSharing::ReadWrite, FileDisposition::OpenExisting) == 0;
}

// Decodes the archive into the bundle file and reports how the archive was used.
ArchiveUse DecodeArchive() {
    SetupStateRecord& s = SetupState;
    s.SourcePos = 1;
    s.SourceFill = 0;
    s.SinkPos = 1;
    s.SourceDelivered = 0;
    s.SourceDryReads = 0;
    const std::int32_t writtenBefore = s.SinkWritten;

    LZHUnpack(s.BundleTotal, s.DecoderSource, s.DecoderSink);
    // A quit message posted during the last block is still taken and dropped.
    PumpMessages();
    std::uint16_t unused = 0;
    if (s.ContinueFlag != 0) s.DecoderSink(nullptr, 0, unused);

    return {s.ArchiveHandle.Size(), s.SourceDelivered, s.SourceDryReads,
            static_cast<std::int64_t>(s.SinkWritten - writtenBefore) + (s.SinkPos - 1), s.BundleTotal};
}

std::string DescribeMismatch(const ArchiveUse& use) {
    // The archive running out explains a decoding past the size too, so it is named first.
    if (use.DryReads > AllowedSlack) return "the archive ends too early (a disk may be cut short)";
    if (use.Decoded != use.Expected) {
        return "the archive decodes past the size the file list gives (a disk may be damaged or from another set)";
    }
    return "the archive holds " + std::to_string(use.ArchiveSize - use.Delivered) +
           " bytes more than the files need (a disk may be damaged or from another set)";
}

// Bundles made by our disk tool end with the uninstaller, which carries the setup program's file
// list. A damaged volume that the decoder happened to fall back into step after leaves the
// archive used up as usual, but not this copy of the list.
bool UninstallerRepeatsTheFileList(const std::string& bundlePath) {
    const BundleDirectoryList& list = SetupState.BundleDirectory;
    const BundleEntry* last = nullptr;
    std::size_t count = 0;
    for (const BundleEntry* entry = list.First.get(); entry; entry = entry->Next.get(), ++count) {
        if (!last || entry->Offset > last->Offset) last = entry;
    }
    const std::size_t tailSize = TrailerSize(count);
    if (!SameFileName(last->Name, UninstallerFileName) || static_cast<std::size_t>(last->Size) < tailSize) {
        return true;
    }
    std::vector<std::uint8_t> tail(tailSize);
    CheckedFile bundle;
    bundle.Open(bundlePath, 0);
    bundle.Seek(std::int64_t{last->Offset} + last->Size - static_cast<std::int64_t>(tailSize));
    bundle.ReadExact(tail.data(), static_cast<std::uint32_t>(tailSize));
    bundle.Close();

    const std::optional<TrailerContents> repeated = TrailerFromBytes(tail);
    if (!repeated || repeated->Total != SetupState.BundleTotal) return false;
    std::size_t i = 0;
    for (const BundleEntry* entry = list.First.get(); entry; entry = entry->Next.get(), ++i) {
        const TrailerRecord& record = repeated->Records[i];
        if (record.NameLength > TrailerNameField || record.Name() != entry->Name || record.Offset != entry->Offset ||
            record.Size != entry->Size) {
            return false;
        }
    }
    return true;
}

// Copies Size bytes from the bundle's current position into target. The bundle must hold them.
void CopyEntry(CheckedFile& bundle, CheckedFile& target, std::int32_t size) {
    std::array<std::uint8_t, BlockSize> block;
    std::int32_t copied = 0;
    while (copied < size) {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::int32_t>(size - copied, BlockSize));
        bundle.ReadExact(block.data(), chunk);
        target.Write(block.data(), chunk);
        copied += static_cast<std::int32_t>(chunk);
    }
}

// Creates the target of a listed file: a help file in the Windows help directory, falling back to
// the destination when that directory cannot take it; any other file in the destination.
void CreateTarget(CheckedFile& target, const std::string& name) {
    const std::string inDestination = JoinPath(SetupState.DestDir, name);
    target.SetChecking(false);
    if (UpperExtensionOf(name) == ".HLP") {
        target.Create(JoinPath(JoinPath(SetupState.WindowsDir, "Help"), name));
        if (target.TakeError() == 0) {
            target.SetChecking(true);
            return;
        }
    }
    target.SetChecking(true);
    target.Create(inDestination);
}

bool KeepsExistingFile(const std::string& name) {
    const std::string ext = UpperExtensionOf(name);
    return (ext == ".LIB" || ext == ".DTP") && IsExistingFile(JoinPath(SetupState.DestDir, name));
}

}  // namespace

bool ArchiveUsedExactly(const ArchiveUse& use) {
    return use.Decoded == use.Expected && use.DryReads <= AllowedSlack &&
           use.Delivered + AllowedSlack - use.DryReads >= use.ArchiveSize;
}

void SplitBundle() {
    SetupStateRecord& s = SetupState;
    CheckedFile bundle;
    bundle.Open(JoinPath(s.DestDir, ProductConfig.ExeFileName), s.FileOpenMode);
    // A bundle shorter than the list says would leave files short and, at the final cut, pad the
    // main program with zeros: refuse it before anything is written.
    if (bundle.Size() < s.BundleTotal) throw EInOutError(ErrorCode::ReadBeyondEnd);
    for (const BundleEntry* entry = s.BundleDirectory.First.get(); entry; entry = entry->Next.get()) {
        if (KeepsExistingFile(entry->Name)) continue;
        bundle.Seek(entry->Offset);
        CheckedFile target;
        CreateTarget(target, entry->Name);
        CopyEntry(bundle, target, entry->Size);
        target.Close();
    }
    bundle.Seek(s.BundleDirectory.First->Offset);
    bundle.Truncate();
    bundle.Close();
    s.BundleDirectory.Release();
}

void ExtractBundle() {
    SetupStateRecord& s = SetupState;
    s.FileOpenMode = 2;
    const std::string bundlePath = JoinPath(s.DestDir, ProductConfig.ExeFileName);
    if (!CreateBundleFile(bundlePath)) {
        s.ContinueFlag = 0;
        return;
    }
    s.BundleCreated = true;

    const std::string archivePath = JoinPath(s.DestDir, ProductConfig.ArchiveFileName);
    if (const int code = s.ArchiveHandle.TryOpen(archivePath, FileAccess::ReadOnly, FileSharing::None,
                                                 FileDisposition::OpenExisting)) {
        throw EInOutError(code);
    }
    const ArchiveUse use = DecodeArchive();
    s.ArchiveHandle.Close();
    s.BundleHandle.Close();
    if (s.ContinueFlag != 0 && !ArchiveUsedExactly(use)) throw EDamagedArchive(DescribeMismatch(use));
    if (s.ContinueFlag != 0 && !UninstallerRepeatsTheFileList(bundlePath)) {
        throw EDamagedArchive("the bundle does not end with the file list it was made with (a disk may be damaged "
                              "or from another set)");
    }
    OsDeleteFile(archivePath);
    s.ArchiveCreated = false;

    if (s.ContinueFlag != 0) SplitBundle();
}
