// ReadBundleDirectory and its validation on an arbitrary setup file: the input is the whole
// file. A file too short for its trailer must raise EInOutError, a damaged trailer
// EDamagedFileList; a trailer that is accepted must keep every rule the split relies on, and a
// sound one must be accepted as it is. No file handle may be left open either way.
#include <string>

#include "bundle/BundleDirectoryReader.h"
#include "bundle/TrailerWriter.h"
#include "setup/Failures.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "tests/fuzz/Harnesses.h"
#include "tests/fuzz/ScratchFolder.h"
#include "tests/fuzz/SeedData.h"
#include "tests/fuzz/TrailerOracle.h"

namespace {

FuzzBytes SetupFile(std::size_t programSize, const TrailerContents& trailer) {
    FuzzBytes file = SeedNoise(programSize, 17);
    const FuzzBytes bytes = TrailerBytes(trailer);
    file.insert(file.end(), bytes.begin(), bytes.end());
    return file;
}

TrailerContents Trailer(std::vector<TrailerRecord> records, std::int32_t total) {
    TrailerContents trailer;
    trailer.Records = std::move(records);
    trailer.Total = total;
    return trailer;
}

// What a product's trailer looks like: a main program, then files back to back.
TrailerContents ProductTrailer() {
    return Trailer({MakeTrailerRecord("QUENFOLD.DAT", 5000, 1200), MakeTrailerRecord("QUENFOLD.HLP", 6200, 2049),
                    MakeTrailerRecord("USER.LIB", 8249, 100), MakeTrailerRecord("EMPTY.DTP", 8349, 0),
                    MakeTrailerRecord("README.TXT", 8349, 4096)},
                   12445);
}

}  // namespace

void RunTrailer(std::span<const std::uint8_t> input) {
    const std::filesystem::path setup = FreshScratchFolder("trailer") / "SETUP.EXE";
    WriteBytes(setup, input);
    ProductConfig = ProductConfigRecord{};
    SetupState = SetupStateRecord{};
    const std::optional<TrailerContents> trailer = ParseTrailerBytes(input);
    const std::string problem = trailer ? TrailerProblem(*trailer) : std::string();
    const int descriptors = OpenDescriptorCount();

    try {
        ReadBundleDirectory(setup.string());
    } catch (const EInOutError& failure) {
        if (trailer) FuzzFail("a file that holds its whole trailer was refused: " + failure.Message());
        if (OpenDescriptorCount() != descriptors) FuzzFail("the setup file was left open after " + failure.Message());
        return;
    } catch (const EDamagedFileList& failure) {
        if (!trailer) FuzzFail("a file too short for its trailer was judged as a list: " + failure.Message());
        if (problem.empty()) FuzzFail("a sound trailer was refused: " + failure.Message());
        if (OpenDescriptorCount() != descriptors) FuzzFail("the setup file was left open after " + failure.Message());
        return;
    }
    if (!trailer) FuzzFail("a file too short for its trailer was accepted");
    if (!problem.empty()) FuzzFail("a trailer with " + problem + " was accepted");
    if (std::string mismatch = ListMismatch(*trailer, SetupState.BundleDirectory, SetupState.BundleTotal);
        !mismatch.empty()) {
        FuzzFail("the list read is not the trailer: " + mismatch);
    }
    if (SetupState.FileOpenMode != 2) FuzzFail("FileOpenMode was not put back to read and write");
    if (OpenDescriptorCount() != descriptors) FuzzFail("the setup file was left open");
}

std::vector<FuzzBytes> TrailerSeeds() {
    std::vector<FuzzBytes> seeds = {
        SetupFile(700, ProductTrailer()),
        SetupFile(10, Trailer({MakeTrailerRecord("A", 1, 0)}, 1)),
        // No entry, a negative total, a name length above 19, overlapping and unordered entries.
        SetupFile(64, Trailer({}, 0)),
        SetupFile(64, Trailer({MakeTrailerRecord("A", 1, 0)}, -1)),
        SetupFile(64, [] {
            TrailerContents t = Trailer({MakeTrailerRecord("ABCDEFGHIJKLMNOPQRS", 10, 5)}, 20);
            t.Records[0].NameLength = 25;
            return t;
        }()),
        SetupFile(64, Trailer({MakeTrailerRecord("B", 50, 50), MakeTrailerRecord("A", 10, 90)}, 100)),
        // Ends that pass in 32 bits but not in 64.
        SetupFile(64, Trailer({MakeTrailerRecord("A", 0x7FFFFFFF, 0x7FFFFFFF)}, 0x7FFFFFFF)),
        // Too short for the count it gives, and for any trailer.
        FuzzBytes{0x20, 0x01, 0x02, 0x03},
        [] {
            FuzzBytes file = SetupFile(0, ProductTrailer());
            file.erase(file.begin());
            return file;
        }(),
    };
    std::vector<TrailerRecord> many;
    for (int i = 0; i < 255; ++i) many.push_back(MakeTrailerRecord("F" + std::to_string(i) + ".DAT", 100 + i, 1));
    seeds.push_back(SetupFile(100, Trailer(many, 355)));
    for (const std::string& name : HostileNames) {
        TrailerContents trailer = ProductTrailer();
        trailer.Records[2] = MakeTrailerRecord(name, trailer.Records[2].Offset, trailer.Records[2].Size);
        seeds.push_back(SetupFile(50, trailer));
    }
    return seeds;
}
