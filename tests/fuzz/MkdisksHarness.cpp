// The disk tool's `list` and `verify` on setup files and disks the input describes, run through
// its command line (RunMkdisks). Byte 0 chooses the command.
//
// list (bit 7 of byte 0 set): the rest is a setup file. The listing must succeed exactly when the
// setup program would accept the trailer, name every entry on a line of its own, and print no
// control character from a name.
//
// verify (bit 7 clear): the disks of a made-up product, built with our encoder and trailer
// writer, then damaged as the input says:
//
//   offset  size  field
//   0       1     bits 0-2: listed files, 1 to 8 (the main program is not listed)
//   1       1     the damage, modulo 8: none; flip an archive byte; cut the archive short;
//                 append a byte to the last volume; remove a volume; swap volumes 1 and 2;
//                 flip a trailer byte; flip a byte of a product file
//   2       2     where the damage goes, little-endian, modulo the size of what it damages
//   4       1     the byte that a flip XORs in (0 counts as 1) or an append adds
//   5       2     the share of volumes 1 and 2, in 255ths of what the volumes before left
//   7       ...   the bundle, cut into the main program and the files in equal parts
//
// The tool may call sound only disks from which the setup program would install exactly the
// product folder: the volumes joined, the archive used the way the extraction demands, and every
// file at its place in the bundle equal to the folder's file of that name. Undamaged disks of a
// sound list must be called sound.
#include <algorithm>
#include <sstream>
#include <string>

#include "bundle/BundleExtraction.h"
#include "bundle/TrailerWriter.h"
#include "lzh/LZHPack.h"
#include "lzh/MemoryStreams.h"
#include "setup/ProductConfig.h"
#include "tests/fuzz/Harnesses.h"
#include "tests/fuzz/ScratchFolder.h"
#include "tests/fuzz/SeedData.h"
#include "tests/fuzz/TrailerOracle.h"
#include "tools/mkdisks/DiskPlan.h"
#include "tools/mkdisks/MkdisksCommand.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint8_t ListCommand = 0x80;
constexpr std::size_t HeaderSize = 7;
// The setup program before its trailer; its bytes do not matter.
constexpr std::size_t SetupProgramSize = 600;
// A symbol takes at least one bit and yields at most a 60-byte match for ten, so no archive byte
// decodes to more than 48 bytes; a decoding that needs more runs dry.
constexpr std::int64_t MaxBytesPerArchiveByte = 48;

enum Damage {
    NoDamage,
    FlipArchiveByte,
    CutArchive,
    AppendByte,
    RemoveVolume,
    SwapVolumes,
    FlipTrailerByte,
    FlipProductByte,
};

std::uint32_t ByteAt(std::span<const std::uint8_t> input, std::size_t at) { return at < input.size() ? input[at] : 0; }

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    }
    return text;
}

void RunList(std::span<const std::uint8_t> setupFile) {
    const fs::path setup = FreshScratchFolder("list") / "SETUP.EXE";
    WriteBytes(setup, setupFile);
    const std::optional<TrailerContents> trailer = ParseTrailerBytes(setupFile);
    std::ostringstream out, err;
    const int status = RunMkdisks({"list", setup.string()}, out, err);
    const bool sound = trailer && TrailerProblem(*trailer).empty();
    if (status != (sound ? ExitSuccess : ExitFailure)) {
        FuzzFail("list of a " + std::string(sound ? "sound" : "damaged") + " trailer ended with status " +
                 std::to_string(status) + ": " + out.str() + err.str());
    }
    if (!trailer) return;
    const std::string text = out.str();
    std::size_t lines = 0;
    for (const char c : text) {
        if (c == '\n') {
            ++lines;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            FuzzFail("list printed the control character " + std::to_string(static_cast<int>(c)));
        }
    }
    // The total, one line per entry, and the fault of a damaged list.
    if (lines != 1 + trailer->Records.size() + (sound ? 0 : 1)) {
        FuzzFail("list printed " + std::to_string(lines) + " lines for " + std::to_string(trailer->Records.size()) +
                 " entries");
    }
}

struct Disks {
    FuzzBytes SetupFile;
    std::vector<FuzzBytes> Volumes;
    // The volume (from 1) whose file is not on its disk, or 0.
    std::size_t MissingVolume = 0;
    // By name, as the product folder holds them: the main program and the listed files.
    std::vector<std::pair<std::string, FuzzBytes>> Product;
};

Disks MakeDisks(std::span<const std::uint8_t> input) {
    const std::span<const std::uint8_t> bundle = input.subspan(std::min(input.size(), HeaderSize));
    const std::size_t files = 1 + (ByteAt(input, 0) & 7);
    static constexpr const char* extensions[] = {".DAT", ".HLP", ".LIB", ".DTP", ".TXT"};
    Disks disks;
    TrailerContents trailer;
    for (std::size_t part = 0; part <= files; ++part) {
        const std::size_t from = bundle.size() * part / (files + 1);
        const std::size_t to = bundle.size() * (part + 1) / (files + 1);
        const std::string name = part == 0 ? ProductConfig.ExeFileName
                                           : "FILE" + std::to_string(part) + extensions[part % std::size(extensions)];
        disks.Product.emplace_back(name, FuzzBytes(bundle.begin() + from, bundle.begin() + to));
        if (part > 0) {
            trailer.Records.push_back(
                MakeTrailerRecord(name, static_cast<std::int32_t>(from), static_cast<std::int32_t>(to - from)));
        }
    }
    trailer.Total = static_cast<std::int32_t>(bundle.size());
    disks.SetupFile = SeedNoise(SetupProgramSize, 31);
    const FuzzBytes trailerBytes = TrailerBytes(trailer);
    disks.SetupFile.insert(disks.SetupFile.end(), trailerBytes.begin(), trailerBytes.end());

    // Volume v takes its share of what the volumes before it left; the last takes the rest.
    const FuzzBytes archive = LZHPack(bundle);
    std::size_t from = 0;
    for (int volume = 1; volume <= VolumeCount(); ++volume) {
        const std::size_t left = archive.size() - from;
        const std::size_t size = volume == VolumeCount() ? left : left * ByteAt(input, 4 + volume) / 255;
        disks.Volumes.emplace_back(archive.begin() + static_cast<std::ptrdiff_t>(from),
                                   archive.begin() + static_cast<std::ptrdiff_t>(from + size));
        from += size;
    }
    return disks;
}

void ApplyDamage(Disks& disks, std::span<const std::uint8_t> input) {
    const std::size_t where = ByteAt(input, 2) | (ByteAt(input, 3) << 8);
    const auto value = static_cast<std::uint8_t>(ByteAt(input, 4));
    const auto flip = [&](FuzzBytes& bytes, std::size_t at) {
        if (!bytes.empty()) bytes[at % bytes.size()] ^= value == 0 ? 1 : value;
    };
    std::size_t archiveSize = 0;
    for (const FuzzBytes& volume : disks.Volumes) archiveSize += volume.size();
    switch (ByteAt(input, 1) % 8) {
        case FlipArchiveByte: {
            std::size_t at = archiveSize == 0 ? 0 : where % archiveSize;
            for (FuzzBytes& volume : disks.Volumes) {
                if (at < volume.size()) {
                    flip(volume, at);
                    break;
                }
                at -= volume.size();
            }
            break;
        }
        case CutArchive: {
            std::size_t keep = where % (archiveSize + 1);
            for (FuzzBytes& volume : disks.Volumes) {
                volume.resize(std::min(keep, volume.size()));
                keep -= volume.size();
            }
            break;
        }
        case AppendByte: disks.Volumes.back().push_back(value); break;
        case RemoveVolume: disks.MissingVolume = 1 + where % disks.Volumes.size(); break;
        case SwapVolumes:
            if (disks.Volumes.size() > 1) std::swap(disks.Volumes[0], disks.Volumes[1]);
            break;
        case FlipTrailerByte: {
            const std::size_t trailerSize = disks.SetupFile.size() - SetupProgramSize;
            flip(disks.SetupFile, SetupProgramSize + where % trailerSize);
            break;
        }
        case FlipProductByte:
            flip(disks.Product[where % disks.Product.size()].second, where / disks.Product.size());
            break;
        default: break;
    }
}

// Whether the setup program would install exactly the product folder from these disks.
bool InstallsTheProduct(const Disks& disks) {
    const std::optional<TrailerContents> trailer = ParseTrailerBytes(disks.SetupFile);
    if (disks.MissingVolume != 0 || !trailer || !TrailerProblem(*trailer).empty()) return false;
    FuzzBytes archive;
    for (const FuzzBytes& volume : disks.Volumes) archive.insert(archive.end(), volume.begin(), volume.end());
    const auto archiveSize = static_cast<std::int64_t>(archive.size());
    if (trailer->Total > MaxBytesPerArchiveByte * (archiveSize + 1)) return false;
    const MemoryDecodeResult decoded = DecodeMemory(archive, trailer->Total);
    const ArchiveUse use{archiveSize, static_cast<std::int64_t>(decoded.BytesDelivered),
                         static_cast<std::int64_t>(decoded.DryReads), static_cast<std::int64_t>(decoded.Output.size()),
                         trailer->Total};
    if (!ArchiveUsedExactly(use)) return false;

    std::vector<std::pair<std::string, FuzzBytes>> installed = {
        {ProductConfig.ExeFileName,
         FuzzBytes(decoded.Output.begin(), decoded.Output.begin() + trailer->Records.front().Offset)}};
    for (const TrailerRecord& record : trailer->Records) {
        const auto from = decoded.Output.begin() + record.Offset;
        installed.emplace_back(record.Name(), FuzzBytes(from, from + record.Size));
    }
    if (installed.size() != disks.Product.size()) return false;
    for (const auto& file : installed) {
        const auto same = std::find_if(disks.Product.begin(), disks.Product.end(),
                                       [&](const auto& other) { return Upper(other.first) == Upper(file.first); });
        if (same == disks.Product.end() || same->second != file.second) return false;
    }
    return true;
}

void RunVerify(std::span<const std::uint8_t> input) {
    Disks disks = MakeDisks(input);
    const bool soundList = TrailerProblem(*ParseTrailerBytes(disks.SetupFile)).empty();
    const bool damaged = ByteAt(input, 1) % 8 != NoDamage;
    ApplyDamage(disks, input);

    const fs::path base = FreshScratchFolder("verify");
    std::vector<std::string> args = {"verify"};
    for (std::size_t volume = 1; volume <= disks.Volumes.size(); ++volume) {
        const fs::path folder = base / ("disk" + std::to_string(volume));
        fs::create_directories(folder);
        args.push_back(folder.string());
        if (volume != disks.MissingVolume) {
            WriteBytes(folder / VolumeName(static_cast<int>(volume)), disks.Volumes[volume - 1]);
        }
    }
    WriteBytes(fs::path(args[1]) / "SETUP.EXE", disks.SetupFile);
    const fs::path product = base / "product";
    fs::create_directories(product);
    for (const auto& [name, content] : disks.Product) WriteBytes(product / name, content);
    args.push_back("--against");
    args.push_back(product.string());

    std::ostringstream out, err;
    const int status = RunMkdisks(args, out, err);
    const bool installs = InstallsTheProduct(disks);
    if (status == ExitSuccess && !installs) {
        FuzzFail("verify called disks sound that do not install the product:\n" + out.str());
    }
    if (status != ExitSuccess && !damaged && soundList) {
        FuzzFail("verify refused undamaged disks:\n" + out.str() + err.str());
    }
    if (status == ExitUsage) FuzzFail("verify did not understand its own command line: " + err.str());
}

}  // namespace

void RunMkdisksCommands(std::span<const std::uint8_t> input) {
    ProductConfig = ProductConfigRecord{};
    if (ByteAt(input, 0) & ListCommand) {
        RunList(input.subspan(1));
    } else {
        RunVerify(input);
    }
}

std::vector<FuzzBytes> MkdisksSeeds() {
    const auto verify = [](std::uint8_t files, Damage damage, std::uint16_t where, const FuzzBytes& bundle) {
        FuzzBytes input = {files, static_cast<std::uint8_t>(damage), static_cast<std::uint8_t>(where),
                           static_cast<std::uint8_t>(where >> 8), 0x5A, 85, 128};
        input.insert(input.end(), bundle.begin(), bundle.end());
        return input;
    };
    const FuzzBytes text = SeedText(6000);
    std::vector<FuzzBytes> seeds;
    for (int damage = NoDamage; damage <= FlipProductByte; ++damage) {
        seeds.push_back(verify(5, static_cast<Damage>(damage), 777, text));
    }
    seeds.push_back(verify(0, NoDamage, 0, SeedNoise(3000, 33)));
    seeds.push_back(verify(7, AppendByte, 0, FuzzBytes(4000, 0)));
    // A listing of a sound trailer and of one with a name full of control characters.
    for (const std::string& name : {std::string("README.TXT"), std::string("\x1b[2J\x07\x7f")}) {
        TrailerContents trailer;
        trailer.Records = {MakeTrailerRecord("A.DAT", 10, 5), MakeTrailerRecord(name, 15, 5)};
        trailer.Total = 20;
        FuzzBytes input = {ListCommand, 'M', 'Z'};
        const FuzzBytes bytes = TrailerBytes(trailer);
        input.insert(input.end(), bytes.begin(), bytes.end());
        seeds.push_back(input);
    }
    return seeds;
}
