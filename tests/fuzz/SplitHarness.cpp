// The split of a bundle by an arbitrary file list, the way the setup program runs it: the list is
// read and validated from the setup file, then SplitBundle copies the files out of the bundle in
// a scratch destination. The input is one byte of flags, then the setup file: the bundle's bytes
// followed by the trailer.
//
//   bits 0-1  the Windows help folder: 1 missing, 2 a file in its place, otherwise a folder
//   bit 2     every ".LIB" and ".DTP" file of the list already exists in the destination
//   bit 3     every other listed file already exists in the destination, and a help file also
//             in the help folder, with other content
//   bit 4     the bundle file holds the bytes as given; otherwise it is exactly the total long,
//             as the decoding leaves it (cut, or padded with zeros)
//
// The destination, the Windows folder and an empty watched folder lie side by side in one
// folder, and the setup file in another beside it, all in the process's scratch folder.
// Afterwards everything in the scratch folder must be exactly what the list says: each file at its target with its bytes of the bundle, the bundle
// cut back to the main program, the kept files untouched, nothing anywhere else. A bundle shorter
// than its total must be refused with nothing written.
#include <string>

#include "bundle/BundleDirectoryReader.h"
#include "bundle/BundleExtraction.h"
#include "bundle/TrailerWriter.h"
#include "setup/Failures.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "tests/fuzz/Harnesses.h"
#include "tests/fuzz/ScratchFolder.h"
#include "tests/fuzz/SeedData.h"
#include "tests/fuzz/TrailerOracle.h"

namespace fs = std::filesystem;

namespace {

enum SplitFlags : std::uint8_t {
    HelpMissing = 1,
    HelpIsFile = 2,
    KeptFilesExist = 4,
    OtherFilesExist = 8,
    BundleAsGiven = 16,
};

// A bundle longer than this is not split: copying it would slow every run down.
constexpr std::int64_t MaxBundle = 256 * 1024;

// Paths relative to the scratch folder, which the harness compares before and after.
const fs::path SetupPath = "split/setup/SETUP.EXE";
const fs::path DestPath = "split/run/dest";
const fs::path WindowsPath = "split/run/windows";
const fs::path HelpPath = "split/run/windows/Help";
const fs::path WatchedPath = "split/run/watched";

struct Scenario {
    std::uint8_t Flags = 0;
    TrailerContents Trailer;
    FuzzBytes Bundle;

    bool HelpIsFolder() const { return (Flags & 3) != HelpMissing && (Flags & 3) != HelpIsFile; }

    // Where the split writes an entry: a help file to the help folder while it can take one.
    fs::path TargetOf(const std::string& name) const {
        return UpperExtension(name) == ".HLP" && HelpIsFolder() ? HelpPath / name : DestPath / name;
    }
};

bool IsKeptKind(const std::string& name) {
    const std::string ext = UpperExtension(name);
    return ext == ".LIB" || ext == ".DTP";
}

void PrepareFolders(const fs::path& base, const Scenario& scenario) {
    fs::create_directories(base / SetupPath.parent_path());
    fs::create_directories(base / DestPath);
    fs::create_directories(base / WindowsPath);
    fs::create_directories(base / WatchedPath);
    if (scenario.HelpIsFolder()) fs::create_directories(base / HelpPath);
    if ((scenario.Flags & 3) == HelpIsFile) WriteBytes(base / HelpPath, FuzzBytes{'h'});
    WriteBytes(base / DestPath / ProductConfig.ExeFileName, scenario.Bundle);
    // Files that exist beforehand only for a list that the setup program will accept: any other
    // name could not be created in the folder, or not as a file of its own.
    if (!TrailerProblem(scenario.Trailer).empty()) return;
    for (const TrailerRecord& record : scenario.Trailer.Records) {
        const std::string name = record.Name();
        const FuzzBytes other(name.begin(), name.end());
        if (IsKeptKind(name)) {
            if (scenario.Flags & KeptFilesExist) WriteBytes(base / DestPath / name, other);
        } else if (scenario.Flags & OtherFilesExist) {
            WriteBytes(base / DestPath / name, other);
            WriteBytes(base / scenario.TargetOf(name), other);
        }
    }
}

struct Outcome {
    FolderTree Tree;
    // Why the split must be refused before it writes anything, or empty when it must succeed.
    std::string Refused;
};

// What the split must leave, worked out from the list in the order it is split. The list has
// been validated: every entry lies within the total.
Outcome ExpectedSplit(const FolderTree& before, const Scenario& scenario) {
    Outcome outcome{before, {}};
    if (static_cast<std::int64_t>(scenario.Bundle.size()) < scenario.Trailer.Total) {
        outcome.Refused = "the bundle is shorter than its total";
        return outcome;
    }
    for (const TrailerRecord& record : scenario.Trailer.Records) {
        const std::string name = record.Name();
        const auto existing = outcome.Tree.find(DestPath / name);
        if (IsKeptKind(name) && existing != outcome.Tree.end() && !existing->second.IsFolder) continue;
        const auto from = scenario.Bundle.begin() + record.Offset;
        outcome.Tree[scenario.TargetOf(name)] = TreeEntry{false, FuzzBytes(from, from + record.Size)};
    }
    const auto mainSize = static_cast<std::size_t>(scenario.Trailer.Records.front().Offset);
    outcome.Tree[DestPath / ProductConfig.ExeFileName].Content.resize(mainSize);
    return outcome;
}

}  // namespace

void RunSplit(std::span<const std::uint8_t> input) {
    if (input.empty()) return;
    const std::span<const std::uint8_t> setupFile = input.subspan(1);
    const std::optional<TrailerContents> trailer = ParseTrailerBytes(setupFile);
    ProductConfig = ProductConfigRecord{};
    SetupState = SetupStateRecord{};

    Scenario scenario;
    scenario.Flags = input[0];
    if (trailer) scenario.Trailer = *trailer;
    const std::size_t bundleBytes = trailer ? setupFile.size() - TrailerSize(trailer->Records.size()) : 0;
    scenario.Bundle.assign(setupFile.begin(), setupFile.begin() + static_cast<std::ptrdiff_t>(bundleBytes));
    const bool tooLarge = trailer && !(scenario.Flags & BundleAsGiven) && trailer->Total > MaxBundle;
    // A negative total is refused before anything is split.
    if (trailer && !tooLarge && !(scenario.Flags & BundleAsGiven) && trailer->Total >= 0) {
        scenario.Bundle.resize(static_cast<std::size_t>(trailer->Total));
    }

    FreshScratchFolder("split");
    const fs::path& base = FuzzScratchRoot();
    PrepareFolders(base, scenario);
    WriteBytes(base / SetupPath, setupFile);
    SetupState.DestDir = (base / DestPath).string();
    SetupState.WindowsDir = (base / WindowsPath).string();
    const FolderTree before = ReadFolderTree(base);
    const int descriptors = OpenDescriptorCount();

    try {
        ReadBundleDirectory((base / SetupPath).string());
    } catch (const SetupFailure& failure) {
        if (failure.ClassName() != "EInOutError" && failure.ClassName() != "EDamagedFileList") throw;
        if (std::string change = TreeDifference(before, ReadFolderTree(base)); !change.empty()) {
            FuzzFail("reading the list changed the folders: " + change);
        }
        return;
    }
    if (!trailer || !TrailerProblem(*trailer).empty()) FuzzFail("a damaged list was accepted");
    if (tooLarge) return;

    const Outcome expected = ExpectedSplit(before, scenario);
    try {
        SplitBundle();
    } catch (const EInOutError& failure) {
        if (expected.Refused.empty()) FuzzFail("a split that fits its bundle failed: " + failure.Message());
        if (std::string change = TreeDifference(before, ReadFolderTree(base)); !change.empty()) {
            FuzzFail("a refused split changed the folders: " + change);
        }
        if (OpenDescriptorCount() != descriptors) FuzzFail("a refused split left a file open");
        return;
    }
    if (!expected.Refused.empty()) FuzzFail("the split reported success, though " + expected.Refused);
    if (std::string difference = TreeDifference(expected.Tree, ReadFolderTree(base)); !difference.empty()) {
        FuzzFail("after the split " + difference);
    }
    if (SetupState.BundleDirectory.First || SetupState.BundleDirectory.Last) FuzzFail("the list was not released");
    if (OpenDescriptorCount() != descriptors) FuzzFail("the split left a file open");
}

std::vector<FuzzBytes> SplitSeeds() {
    struct File {
        std::string Name;
        FuzzBytes Content;
    };
    const FuzzBytes mainProgram = SeedNoise(3000, 21);
    const std::vector<File> product = {
        {"README.TXT", SeedText(5000)},    {"QUENFOLD.HLP", SeedNoise(2049, 22)}, {"QUENFOLD.LIB", SeedNoise(100, 23)},
        {"EMPTY.DTP", {}},                 {"BLOCK.DAT", SeedNoise(2048, 24)},    {"TWOBLOCK.DAT", SeedNoise(4096, 25)},
    };
    // The flags byte, the bundle, and the trailer that lists the files back to back.
    const auto seed = [&](std::uint8_t flags, const std::vector<File>& files) {
        FuzzBytes input{flags};
        input.insert(input.end(), mainProgram.begin(), mainProgram.end());
        TrailerContents trailer;
        for (const File& file : files) {
            trailer.Records.push_back(MakeTrailerRecord(file.Name, static_cast<std::int32_t>(input.size() - 1),
                                                        static_cast<std::int32_t>(file.Content.size())));
            input.insert(input.end(), file.Content.begin(), file.Content.end());
        }
        trailer.Total = static_cast<std::int32_t>(input.size() - 1);
        const FuzzBytes bytes = TrailerBytes(trailer);
        input.insert(input.end(), bytes.begin(), bytes.end());
        return input;
    };
    std::vector<FuzzBytes> seeds;
    for (const int flags : {0, +HelpMissing, +HelpIsFile, KeptFilesExist | OtherFilesExist, +BundleAsGiven}) {
        seeds.push_back(seed(static_cast<std::uint8_t>(flags), product));
    }
    for (const std::string& name : HostileNames) {
        std::vector<File> files = product;
        files[1].Name = name;
        seeds.push_back(seed(0, files));
    }
    // A bundle shorter than its list says.
    FuzzBytes cut = seed(BundleAsGiven, product);
    cut.erase(cut.begin() + 4000, cut.begin() + 6000);
    seeds.push_back(cut);
    return seeds;
}
