#include "tools/mkdisks/VerifyDisks.h"

#include <algorithm>
#include <cstdio>

#include "bundle/BundleDirectoryReader.h"
#include "bundle/BundleDirectoryValidation.h"
#include "bundle/TrailerWriter.h"
#include "setup/Failures.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/UninstallEntry.h"
#include "tools/mkdisks/ArchiveCheck.h"
#include "tools/mkdisks/DiskPlan.h"
#include "tools/mkdisks/MkdisksError.h"
#include "tools/mkdisks/ProgressLine.h"
#include "tools/mkdisks/ToolFiles.h"

namespace fs = std::filesystem;

namespace {

TrailerContents ReadTrailerOf(const fs::path& setup) {
    try {
        return ReadTrailer(setup.string());
    } catch (const SetupFailure& failure) {
        throw MkdisksError("cannot read the file list of " + Shown(setup) + ": " + failure.Message());
    }
}

fs::path FindSetup(const VerifyOptions& options) {
    if (options.Setup) return *options.Setup;
    const fs::path& disk1 = options.Disks.front();
    std::error_code error;
    if (!fs::is_directory(disk1, error)) throw MkdisksError("the disk folder " + Shown(disk1) + " does not exist");
    std::vector<fs::path> programs;
    for (fs::directory_iterator it(disk1, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && UpperExtensionOf(Shown(it->path().filename())) == ".EXE") {
            programs.push_back(it->path());
        }
    }
    if (programs.size() != 1) {
        throw MkdisksError(std::string(programs.empty() ? "no" : "more than one") + " \".EXE\" file in " +
                           Shown(disk1) + "; name the setup program with --setup");
    }
    return programs.front();
}

// The volumes in order, joined; a missing volume is a fault of the disks, not of the tool.
std::vector<std::uint8_t> JoinVolumes(const VerifyOptions& options, std::ostream& out, std::vector<std::string>& faults) {
    std::vector<std::uint8_t> archive;
    for (int volume = 1; volume <= VolumeCount(); ++volume) {
        const std::size_t given = static_cast<std::size_t>(volume);
        const fs::path& folder = given <= options.Disks.size() ? options.Disks[given - 1] : options.Disks.front();
        const std::string name = VolumeName(volume);
        const std::vector<fs::path> found = FindIgnoringCase(folder, name);
        if (found.empty()) {
            faults.push_back("disk " + std::to_string(volume) + ": " + name + " is missing from " + Shown(folder));
            continue;
        }
        const std::vector<std::uint8_t> bytes = ReadFileBytes(found.front());
        out << "disk " << volume << ": " << Shown(found.front()) << ", " << bytes.size() << " bytes\n";
        archive.insert(archive.end(), bytes.begin(), bytes.end());
    }
    return archive;
}

// Where two byte runs first differ, for a message that points at the damage.
std::string FirstDifference(std::span<const std::uint8_t> disks, std::span<const std::uint8_t> folder) {
    const auto [a, b] = std::mismatch(disks.begin(), disks.end(), folder.begin(), folder.end());
    if (a == disks.end() && b == folder.end()) return {};
    if (disks.size() != folder.size()) {
        return std::to_string(disks.size()) + " bytes on the disks, " + std::to_string(folder.size()) +
               " in the product folder";
    }
    char text[96];
    std::snprintf(text, sizeof text, "the bytes differ from offset %zu on (disks 0x%02X, folder 0x%02X)",
                  static_cast<std::size_t>(a - disks.begin()), *a, *b);
    return text;
}

void CompareWithFolder(const TrailerContents& trailer, std::span<const std::uint8_t> bundle, const fs::path& folder,
                       std::ostream& out, std::vector<std::string>& faults) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) throw MkdisksError("the product folder " + Shown(folder) + " does not exist");

    struct Listed {
        std::string Name;
        std::span<const std::uint8_t> Bytes;
    };
    std::vector<Listed> listed;
    const auto mainSize = static_cast<std::size_t>(trailer.Records.front().Offset);
    listed.push_back({ProductConfig.ExeFileName, bundle.subspan(0, mainSize)});
    for (const TrailerRecord& record : trailer.Records) {
        listed.push_back({record.Name(), bundle.subspan(static_cast<std::size_t>(record.Offset),
                                                        static_cast<std::size_t>(record.Size))});
    }

    std::size_t matching = 0;
    const std::vector<std::uint8_t> trailerBytes = TrailerBytes(trailer);
    for (const Listed& file : listed) {
        // The uninstaller is not the maker's file: it must carry the same file list as the setup program.
        if (SameFileName(file.Name, UninstallerFileName)) {
            if (file.Bytes.size() >= trailerBytes.size() &&
                std::equal(trailerBytes.begin(), trailerBytes.end(), file.Bytes.end() - trailerBytes.size())) {
                ++matching;
            } else {
                faults.push_back(Quoted(file.Name) + " does not carry the file list of the setup program");
            }
            continue;
        }
        const std::vector<fs::path> found = FindIgnoringCase(folder, file.Name);
        if (found.empty() || !fs::is_regular_file(found.front(), error)) {
            faults.push_back(Quoted(file.Name) + " is on the disks but not in the product folder");
            continue;
        }
        const std::string difference = FirstDifference(file.Bytes, ReadFileBytes(found.front()));
        if (difference.empty()) {
            ++matching;
        } else {
            faults.push_back(Quoted(file.Name) + " differs: " + difference);
        }
    }
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = Shown(it->path().filename());
        const bool onDisks = std::any_of(listed.begin(), listed.end(),
                                         [&](const Listed& file) { return SameFileName(file.Name, name); });
        if (!onDisks) faults.push_back(Quoted(name) + " is in the product folder but not on the disks");
    }
    out << matching << " of " << FileCount(listed.size()) << " match " << Shown(folder) << "\n";
}

}  // namespace

bool ListTrailer(const fs::path& setup, std::ostream& out) {
    const TrailerContents trailer = ReadTrailerOf(setup);
    out << "total " << trailer.Total << " bytes, " << FileCount(trailer.Records.size()) << "\n";
    for (std::size_t i = 0; i < trailer.Records.size(); ++i) {
        const TrailerRecord& record = trailer.Records[i];
        char line[128];
        std::snprintf(line, sizeof line, "%3zu  %-21s offset %11d  size %11d\n", i + 1,
                      Quoted(record.Name()).c_str(), record.Offset, record.Size);
        out << line;
    }
    if (std::string fault = TrailerFault(trailer); !fault.empty()) {
        out << "damaged: " << fault << "\n";
        return false;
    }
    return true;
}

bool VerifyDisks(const VerifyOptions& options, std::ostream& out, std::ostream& log) {
    if (options.Disks.empty()) throw MkdisksError("no disk folder given");
    if (options.Disks.size() > static_cast<std::size_t>(VolumeCount())) {
        throw MkdisksError(std::to_string(options.Disks.size()) + " disk folders given, but the product ships on " +
                           std::to_string(VolumeCount()) + " disks");
    }
    const fs::path setup = FindSetup(options);
    const TrailerContents trailer = ReadTrailerOf(setup);
    out << Shown(setup) << ": a file list of " << FileCount(trailer.Records.size()) << ", bundle of " << trailer.Total
        << " bytes\n";
    std::vector<std::string> faults;
    if (std::string fault = TrailerFault(trailer); !fault.empty()) {
        faults.push_back("the file list is damaged: " + fault);
    } else {
        const std::vector<std::uint8_t> archive = JoinVolumes(options, out, faults);
        if (faults.empty()) {
            if (static_cast<std::uint64_t>(trailer.Total) > ProgressLine::Threshold) {
                log << "decoding " << trailer.Total << " bytes\n";
            }
            const DecodedArchive decoded = DecodeArchive(archive, trailer.Total);
            if (!decoded.Fault.empty()) {
                faults.push_back(decoded.Fault);
            } else {
                out << "archive of " << archive.size() << " bytes decodes to the bundle of " << trailer.Total
                    << " bytes\n";
                if (options.Against) CompareWithFolder(trailer, decoded.Bundle, *options.Against, out, faults);
            }
        }
    }

    for (const std::string& fault : faults) out << "FAULT: " << fault << "\n";
    out << (faults.empty() ? "the disks are sound\n" : "the disks are NOT sound\n");
    return faults.empty();
}
