#include <gtest/gtest.h>

#include <memory>

#include "bundle/BundleExtraction.h"
#include "bundle/TrailerWriter.h"
#include "lzh/DecoderStreams.h"
#include "lzh/LZHPack.h"
#include "setup/Failures.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "tests/support/TempDir.h"

namespace {

struct ProductFile {
    std::string name;
    Bytes content;
};

// A product: the main program and its files, as the bundle holds them back to back.
class BundleExtraction : public ::testing::Test {
protected:
    void SetUp() override {
        ProductConfig = ProductConfigRecord{};
        SetupState = SetupStateRecord{};
        SetupState.DestDir = dest.Dir();
        SetupState.WindowsDir = windows.Dir();
        std::filesystem::create_directory(windows.Root() / "Help");
        SetupState.SourceBuffer.assign(DecoderBufferSize, 0);
        SetupState.SinkBuffer.assign(DecoderBufferSize, 0);
        SetupState.DecoderSource = ArchiveSource;
        SetupState.DecoderSink = BundleSink;
        SetupState.ContinueFlag = 1;
        mainProgram = SeededRandomBytes(3000, 10);
        files = {{"README.TXT", Bytes(5000, 'r')},
                 {"QUENFOLD.HLP", SeededRandomBytes(2049, 11)},
                 {"QUENFOLD.LIB", SeededRandomBytes(100, 12)},
                 {"EMPTY.DTP", {}},
                 {"BLOCK.DAT", SeededRandomBytes(2048, 13)},
                 {"TWOBLOCK.DAT", SeededRandomBytes(4096, 14)}};
    }

    Bytes Bundle() const {
        Bytes bundle = mainProgram;
        for (const auto& f : files) bundle.insert(bundle.end(), f.content.begin(), f.content.end());
        return bundle;
    }

    // The directory and the archive as the volume assembly leaves them.
    void PrepareArchive(Bytes archive) {
        std::int32_t offset = static_cast<std::int32_t>(mainProgram.size());
        for (const auto& f : files) {
            auto entry = std::make_unique<BundleEntry>();
            entry->Name = f.name;
            entry->Offset = offset;
            entry->Size = static_cast<std::int32_t>(f.content.size());
            offset += entry->Size;
            SetupState.BundleDirectory.Append(std::move(entry));
        }
        SetupState.BundleTotal = offset;
        dest.Write("Tavimore._MV", archive);
    }
    void PrepareArchive() { PrepareArchive(LZHPack(Bundle())); }

    std::filesystem::path TargetOf(const std::string& name) const {
        return UpperExtensionOf(name) == ".HLP" ? windows.Root() / "Help" / name : dest.Root() / name;
    }

    TempDir dest, windows;
    Bytes mainProgram;
    std::vector<ProductFile> files;
};

TEST_F(BundleExtraction, SplitsEveryFileAndKeepsTheMainProgram) {
    PrepareArchive();
    ExtractBundle();
    EXPECT_EQ(SetupState.ContinueFlag, 1);
    for (const auto& f : files) EXPECT_EQ(ReadWholeFile(TargetOf(f.name)), f.content) << f.name;
    EXPECT_FALSE(dest.Exists("QUENFOLD.HLP"));
    EXPECT_EQ(dest.Read("Tavimore.Exe"), mainProgram);
    EXPECT_FALSE(dest.Exists("Tavimore._MV"));
    EXPECT_EQ(SetupState.BundleDirectory.First, nullptr);
    EXPECT_EQ(SetupState.BundleDirectory.Last, nullptr);
}

TEST_F(BundleExtraction, ExistingLibraryAndDataFilesAreKept) {
    dest.Write("QUENFOLD.LIB", "the user's library");
    dest.Write("README.TXT", "old readme");
    PrepareArchive();
    ExtractBundle();
    EXPECT_EQ(dest.Read("QUENFOLD.LIB"), Bytes({'t', 'h', 'e', ' ', 'u', 's', 'e', 'r', '\'', 's', ' ', 'l', 'i', 'b',
                                                'r', 'a', 'r', 'y'}));
    EXPECT_EQ(dest.Read("README.TXT"), files[0].content);  // other files are replaced
    EXPECT_TRUE(dest.Exists("EMPTY.DTP"));                 // absent, so written
}

TEST_F(BundleExtraction, HelpFileFallsBackToTheDestination) {
    std::filesystem::remove(windows.Root() / "Help");
    PrepareArchive();
    ExtractBundle();
    EXPECT_EQ(dest.Read("QUENFOLD.HLP"), files[1].content);
}

TEST_F(BundleExtraction, BundleThatCanBeNeitherCreatedNorOpenedGivesUp) {
    std::filesystem::create_directory(dest.Root() / "Tavimore.Exe");
    PrepareArchive();
    ExtractBundle();
    EXPECT_EQ(SetupState.ContinueFlag, 0);
    EXPECT_FALSE(SetupState.BundleCreated);
    EXPECT_FALSE(dest.Exists("README.TXT"));
}

TEST_F(BundleExtraction, CancelDuringTheDecodingSplitsNothing) {
    files.push_back({"LARGE.DAT", SeededRandomBytes(20000, 15)});
    PrepareArchive();
    SetupState.MessagePump = [] { SetupState.ContinueFlag = 0; };
    ExtractBundle();
    EXPECT_EQ(SetupState.ContinueFlag, 0);
    EXPECT_FALSE(dest.Exists("Tavimore._MV"));
    EXPECT_TRUE(dest.Exists("Tavimore.Exe"));  // partial; the clean-up deletes it
    EXPECT_TRUE(SetupState.BundleCreated);
    EXPECT_FALSE(dest.Exists("README.TXT"));
    EXPECT_NE(SetupState.BundleDirectory.First, nullptr);
}

TEST_F(BundleExtraction, DamagedArchivesAreCaughtBeforeAnythingIsSplit) {
    const Bytes good = LZHPack(Bundle());
    Bytes shortByOne(good.begin(), good.end() - 1);
    Bytes extra = good;
    extra.insert(extra.end(), 100, 0x5A);
    // The second half replaced by a volume of another set of the same product size.
    const Bytes other = LZHPack(SeededRandomBytes(Bundle().size(), 99));
    Bytes otherSet(good.begin(), good.begin() + good.size() / 2);
    otherSet.insert(otherSet.end(), other.begin() + other.size() / 2 + 7, other.end());
    const std::pair<const char*, Bytes> cases[] = {
        {"one byte short", shortByOne}, {"extra bytes", extra}, {"another disk set", otherSet}, {"empty", {}}};
    for (const auto& [name, archive] : cases) {
        for (const auto& entry : std::filesystem::directory_iterator(dest.Root())) std::filesystem::remove(entry);
        SetUp();
        PrepareArchive(archive);
        EXPECT_THROW(ExtractBundle(), EDamagedArchive) << name;
        EXPECT_FALSE(dest.Exists("README.TXT")) << name;
    }
}

// The disk tool's bundles end with the uninstaller carrying the file list; a bundle whose copy of
// the list differs was decoded from damaged volumes, however well the archive was used up.
TEST_F(BundleExtraction, UninstallerMustRepeatTheFileList) {
    for (const bool damaged : {false, true}) {
        for (const auto& entry : std::filesystem::directory_iterator(dest.Root())) std::filesystem::remove_all(entry);
        SetUp();
        TrailerContents trailer;
        std::int32_t offset = static_cast<std::int32_t>(mainProgram.size());
        for (const auto& f : files) {
            trailer.Records.push_back(MakeTrailerRecord(f.name, offset, static_cast<std::int32_t>(f.content.size())));
            offset += static_cast<std::int32_t>(f.content.size());
        }
        const auto uninstallerSize = static_cast<std::int32_t>(100 + TrailerSize(files.size() + 1));
        trailer.Records.push_back(MakeTrailerRecord("UnInstal.Exe", offset, uninstallerSize));
        trailer.Total = offset + uninstallerSize;
        Bytes uninstaller = Concat({Bytes(100, 'U'), TrailerBytes(trailer)});
        if (damaged) uninstaller[uninstaller.size() - 10] ^= 0x40;  // an offset in the repeated list
        files.push_back({"UnInstal.Exe", uninstaller});
        PrepareArchive();
        if (damaged) {
            EXPECT_THROW(ExtractBundle(), EDamagedArchive);
            EXPECT_FALSE(dest.Exists("README.TXT"));
        } else {
            ExtractBundle();
            EXPECT_EQ(dest.Read("UnInstal.Exe"), uninstaller);
        }
    }
}

TEST_F(BundleExtraction, MissingArchiveIsReported) {
    PrepareArchive();
    std::filesystem::remove(dest.Root() / "Tavimore._MV");
    try {
        ExtractBundle();
        FAIL() << "no failure";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
    }
}

TEST_F(BundleExtraction, BundleShorterThanTheDirectoryStopsTheSplit) {
    PrepareArchive();
    const Bytes bundle = Bundle();
    dest.Write("Tavimore.Exe", Bytes(bundle.begin(), bundle.begin() + 9000));
    try {
        SplitBundle();
        FAIL() << "no failure";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "Read beyond end of file");
    }
}

TEST_F(BundleExtraction, TargetThatCannotBeCreatedIsReported) {
    PrepareArchive();
    std::filesystem::create_directory(dest.Root() / "README.TXT");
    EXPECT_THROW(ExtractBundle(), EInOutError);
}

TEST(ArchiveUse, StreamsUsedUpToTheirLastByteOrTwoPass) {
    struct Case {
        ArchiveUse use;
        bool sound;
    };
    const Case cases[] = {
        {{100, 100, 1, 500, 500}, true},   // ends at its last symbol: one read past the end
        {{100, 100, 0, 500, 500}, true},   // one spare byte after the last symbol
        {{100, 99, 0, 500, 500}, true},    // two spare bytes
        {{100, 98, 0, 500, 500}, false},   // bytes left over
        {{100, 100, 2, 500, 500}, false},  // ran dry early
        {{0, 0, 40, 500, 500}, false},     // empty archive
        {{100, 100, 1, 520, 500}, false},  // decodes past the total
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArchiveUsedExactly(c.use), c.sound)
            << c.use.ArchiveSize << " " << c.use.Delivered << " " << c.use.DryReads << " " << c.use.Decoded;
    }
}

}  // namespace
