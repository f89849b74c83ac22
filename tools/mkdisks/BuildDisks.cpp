#include "tools/mkdisks/BuildDisks.h"

#include <random>

#include "bundle/BundleDirectoryValidation.h"
#include "bundle/TrailerWriter.h"
#include "lzh/LZHPack.h"
#include "setup/Failures.h"
#include "setup/UninstallEntry.h"
#include "tools/mkdisks/ArchiveCheck.h"
#include "tools/mkdisks/MkdisksError.h"
#include "tools/mkdisks/ProductFolder.h"
#include "tools/mkdisks/ProgressLine.h"
#include "tools/mkdisks/ToolFiles.h"

namespace fs = std::filesystem;

namespace {

struct Bundle {
    std::vector<std::uint8_t> Bytes;
    TrailerContents Trailer;
};

// The main program, then every other file back to back, each listed at its offset, then the
// uninstaller carrying the trailer that lists it too.
Bundle ReadBundle(const std::vector<ProductFile>& files, const std::vector<std::uint8_t>& uninstaller,
                  std::ostream& log) {
    std::uint64_t total = uninstaller.size() + TrailerSize(files.size());
    for (const ProductFile& f : files) total += f.Size;
    if (total >= BundleSizeLimit) throw MkdisksError("the bundle with the uninstaller would be 2 GiB or more");
    ProgressLine progress(log, "reading the product files", total);

    Bundle bundle;
    bundle.Bytes.reserve(static_cast<std::size_t>(total));
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::size_t before = bundle.Bytes.size();
        const std::vector<std::uint8_t> bytes =
            ReadFileBytes(files[i].Path, [&](std::uint64_t done) { progress.Show(before + done); });
        if (bytes.size() != files[i].Size) throw MkdisksError(Shown(files[i].Path) + " changed while it was read");
        if (before + bytes.size() >= BundleSizeLimit) {
            throw MkdisksError("the bundle grew past 2 GiB while the files were read");
        }
        bundle.Bytes.insert(bundle.Bytes.end(), bytes.begin(), bytes.end());
        if (i > 0) {
            bundle.Trailer.Records.push_back(MakeTrailerRecord(files[i].Name, static_cast<std::int32_t>(before),
                                                               static_cast<std::int32_t>(bytes.size())));
        }
    }
    // Its size includes the trailer it carries, whose length depends only on the number of records.
    const std::size_t uninstallerOffset = bundle.Bytes.size();
    const std::size_t uninstallerSize = uninstaller.size() + TrailerSize(files.size());
    bundle.Trailer.Records.push_back(MakeTrailerRecord(UninstallerFileName, static_cast<std::int32_t>(uninstallerOffset),
                                                       static_cast<std::int32_t>(uninstallerSize)));
    bundle.Trailer.Total = static_cast<std::int32_t>(uninstallerOffset + uninstallerSize);
    const std::vector<std::uint8_t> trailer = TrailerBytes(bundle.Trailer);
    bundle.Bytes.insert(bundle.Bytes.end(), uninstaller.begin(), uninstaller.end());
    bundle.Bytes.insert(bundle.Bytes.end(), trailer.begin(), trailer.end());
    // The folder checks make this hold; the setup program would refuse the disks otherwise.
    if (std::string fault = TrailerFault(bundle.Trailer); !fault.empty()) {
        throw MkdisksError("the file list would be refused by the setup program: " + fault);
    }
    return bundle;
}

std::vector<std::uint8_t> Pack(const std::vector<std::uint8_t>& bundle, std::ostream& log) {
    ProgressLine progress(log, "packing", bundle.size());
    return LZHPack(bundle, [&](std::size_t done) { progress.Show(done); });
}

// The folder the disks are made in, beside the output, and removed again unless it is kept.
class StagingFolder {
public:
    explicit StagingFolder(const fs::path& out) {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::path candidate = out;
            candidate += ".mkdisks-" + std::to_string(random() % 1000000);
            std::error_code error;
            if (fs::create_directory(candidate, error)) {
                path_ = candidate;
                return;
            }
            if (error) throw MkdisksError("cannot create a folder beside " + Shown(out) + ": " + error.message());
        }
        throw MkdisksError("cannot create a folder beside " + Shown(out));
    }
    ~StagingFolder() {
        if (path_.empty()) return;
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const fs::path& Path() const { return path_; }

    // Makes the finished folder the output; an empty output folder gives way to it.
    void BecomeOutput(const fs::path& out) {
        std::error_code error;
        if (fs::is_directory(out, error) && fs::is_empty(out, error)) fs::remove(out, error);
        fs::rename(path_, out, error);
        if (error) throw MkdisksError("cannot rename " + Shown(path_) + " to " + Shown(out) + ": " + error.message());
        path_.clear();
    }

private:
    fs::path path_;
};

fs::path OutputFolder(const fs::path& given) {
    fs::path out = fs::absolute(given).lexically_normal();
    if (!out.has_filename()) out = out.parent_path();
    std::error_code error;
    if (!fs::is_directory(out.parent_path(), error)) {
        throw MkdisksError("the folder " + Shown(out.parent_path()) + " for --out does not exist");
    }
    if (fs::exists(out, error) && !(fs::is_directory(out, error) && fs::is_empty(out, error))) {
        throw MkdisksError(Shown(out) + " already exists; remove it or choose another --out");
    }
    return out;
}

}  // namespace

void BuildDisks(const BuildOptions& options, std::ostream& out, std::ostream& log) {
    const fs::path outFolder = OutputFolder(options.Out);
    if (options.DiskSize == 0) throw MkdisksError("the disk size must be at least 1 byte");
    const std::string setupName = Shown(options.Setup.filename());
    std::error_code error;
    if (!fs::is_regular_file(options.Setup, error)) {
        throw MkdisksError("the setup program " + Shown(options.Setup) + " does not exist or is not a file");
    }
    if (SameFileName(setupName, VolumeName(1))) {
        throw MkdisksError("the setup program cannot be called " + setupName + ", the name of volume 1");
    }

    const fs::path uninstallerPath =
        options.Uninstaller ? *options.Uninstaller : options.Setup.parent_path() / UninstallerFileName;
    if (!fs::is_regular_file(uninstallerPath, error)) {
        throw MkdisksError("the uninstaller " + Shown(uninstallerPath) +
                           " does not exist or is not a file; every bundle carries it (give --uninstaller FILE)");
    }

    const std::vector<ProductFile> files = ScanProductFolder(options.ProductFolder, options.Manifest);
    for (const ProductFile& file : files) {
        if (SameFileName(file.Name, UninstallerFileName)) {
            throw MkdisksError(Quoted(file.Name) + " is in the product folder, but mkdisks adds the uninstaller "
                               "itself; remove it from the folder");
        }
    }
    if (files.size() > MaxTrailerRecords) {
        throw MkdisksError("the product has " + std::to_string(files.size() - 1) +
                           " files besides the main program; with the uninstaller the file list holds at most " +
                           std::to_string(MaxTrailerRecords - 1));
    }
    const std::vector<std::uint8_t> setup = ReadFileBytes(options.Setup);
    const Bundle bundle = ReadBundle(files, ReadFileBytes(uninstallerPath), log);
    const std::vector<std::uint8_t> archive = Pack(bundle.Bytes, log);

    // Disks that the setup program would decode wrongly must never leave this tool.
    const DecodedArchive check = DecodeArchive(archive, bundle.Trailer.Total);
    if (!check.Fault.empty() || check.Bundle != bundle.Bytes) {
        throw MkdisksError("the packed archive does not decode to the bundle (" +
                           (check.Fault.empty() ? std::string("different bytes") : check.Fault) +
                           "); the encoder is at fault");
    }

    const std::size_t setupSize = setup.size() + TrailerSize(bundle.Trailer.Records.size());
    const std::vector<std::uint64_t> volumes = PlanVolumes(archive.size(), setupSize, options.DiskSize);

    StagingFolder staging(outFolder);
    std::size_t at = 0;
    for (std::size_t v = 0; v < volumes.size(); ++v) {
        const fs::path disk = staging.Path() / ("disk" + std::to_string(v + 1));
        fs::create_directory(disk, error);
        if (error) throw MkdisksError("cannot create " + Shown(disk) + ": " + error.message());
        if (v == 0) {
            WriteFileBytes(disk / setupName, setup);
            try {
                AppendTrailer((disk / setupName).string(), bundle.Trailer);
            } catch (const SetupFailure& failure) {
                throw MkdisksError("cannot write " + Shown(disk / setupName) + ": " + failure.Message());
            }
        }
        WriteFileBytes(disk / VolumeName(static_cast<int>(v) + 1),
                       std::span(archive).subspan(at, static_cast<std::size_t>(volumes[v])));
        at += static_cast<std::size_t>(volumes[v]);
    }
    staging.BecomeOutput(outFolder);

    out << "bundle: " << files.front().Name << " and " << FileCount(bundle.Trailer.Records.size())
        << " (the uninstaller included), "
        << bundle.Bytes.size() << " bytes; archive " << archive.size() << " bytes\n";
    for (std::size_t v = 0; v < volumes.size(); ++v) {
        out << "disk" << v + 1 << ": ";
        if (v == 0) out << setupName << " " << setupSize << " bytes, ";
        out << VolumeName(static_cast<int>(v) + 1) << " " << volumes[v] << " bytes\n";
    }
    out << "disks written to " << Shown(outFolder) << "\n";
}
