#include <gtest/gtest.h>

#include <functional>

#include "bundle/TrailerWriter.h"
#include "bundle/VolumeAssembly.h"
#include "setup/Failures.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/support/TempDir.h"

namespace {

// The user at the disk prompts: each answer may first do something (insert the disk).
struct Answer {
    bool ok;
    std::function<void()> before;
};

class ScriptedPrompter : public DiskPrompter {
public:
    std::vector<Answer> answers;
    std::vector<std::string> seen;
    bool AskForDisk(const std::string& prompt) override {
        seen.push_back(prompt);
        if (answers.empty()) ADD_FAILURE() << "unexpected prompt " << prompt;
        if (answers.empty()) return false;
        Answer answer = answers.front();
        answers.erase(answers.begin());
        if (answer.before) answer.before();
        return answer.ok;
    }
    void ShowWrongDisk(const std::string& message) override { seen.push_back("wrong disk: " + message); }
};

class VolumeAssembly : public ::testing::Test {
protected:
    void SetUp() override {
        ProductConfig = ProductConfigRecord{};
        SetupState = SetupStateRecord{};
        SetupState.SourceDir = JoinPath(source.Dir(), "");
        SetupState.DestDir = dest.Dir();
        SetupState.ContinueFlag = 1;
        SetupState.ProgressMeter.Canvas = &canvas;
        source.Write("SETUP.EXE", "program");
        TrailerContents trailer;
        trailer.Records.push_back(MakeTrailerRecord("QUENFOLD.DAT", 10, 5));
        trailer.Total = 15;
        AppendTrailer(SetupPath(), trailer);
    }
    std::string SetupPath() const { return JoinPath(source.Dir(), "SETUP.EXE"); }
    void Volume(int n, const Bytes& content) { source.Write("Tavimore.00" + std::to_string(n), content); }
    Bytes Archive() const { return dest.Read("Tavimore._MV"); }

    TempDir source, dest;
    RecordingCanvas canvas;
    ScriptedPrompter prompter;
};

TEST_F(VolumeAssembly, JoinsPresentVolumesWithoutPrompts) {
    const Bytes v1 = SeededRandomBytes(5000, 1), v2 = SeededRandomBytes(2048, 2), v3 = SeededRandomBytes(1, 3);
    Volume(1, v1), Volume(2, v2), Volume(3, v3);
    Volume(4, {9, 9});  // DiskCount is 3: never read
    AssembleVolumes(prompter, SetupPath());
    EXPECT_EQ(Archive(), Concat({v1, v2, v3}));
    EXPECT_TRUE(prompter.seen.empty());
    EXPECT_EQ(ProductConfig.VolumeFileName, "Tavimore.003");
    EXPECT_EQ(SetupState.BundleTotal, 15);
    EXPECT_EQ(SetupState.BundleDirectory.First->Name, "QUENFOLD.DAT");
    EXPECT_EQ(SetupState.ContinueFlag, 1);
    EXPECT_TRUE(SetupState.ArchiveCreated);
    EXPECT_EQ(SetupState.FileOpenMode, 2);
}

TEST_F(VolumeAssembly, DiskCountDecidesHowManyVolumes) {
    for (int n = 1; n <= 5; ++n) Volume(n, {static_cast<std::uint8_t>(n)});
    const std::pair<int, Bytes> cases[] = {{1, {1}}, {0, {1}}, {2, {1, 2}}, {4, {1, 2, 3, 4}}, {7, {1, 2, 3, 4}}};
    for (const auto& [diskCount, expected] : cases) {
        ProductConfig = ProductConfigRecord{};
        ProductConfig.DiskCount = diskCount;
        AssembleVolumes(prompter, SetupPath());
        EXPECT_EQ(Archive(), expected) << "DiskCount " << diskCount;
    }
}

TEST_F(VolumeAssembly, PromptsUntilTheRightDiskIsIn) {
    Volume(1, {1});
    prompter.answers = {{true, nullptr},                         // OK without the disk: wrong disk
                        {true, [this] { Volume(2, {2}); }},      // inserted, OK
                        {false, [this] { Volume(3, {3}); }}};    // inserted, then Cancel: still used
    AssembleVolumes(prompter, SetupPath());
    EXPECT_EQ(Archive(), (Bytes{1, 2, 3}));
    EXPECT_EQ(prompter.seen, (std::vector<std::string>{
                                 "Please Insert Disk number 2",
                                 "wrong disk: This is not the appropriate disk.\r\nPlease insert the correct disk and "
                                 "Press Enter",
                                 "Please Insert Disk number 2", "Please Insert Disk number 3"}));
    EXPECT_EQ(SetupState.ContinueFlag, 1);
}

TEST_F(VolumeAssembly, CancelWithTheDiskAbsentStops) {
    Volume(1, {1});
    Volume(3, {3});
    prompter.answers = {{false, nullptr}};
    AssembleVolumes(prompter, SetupPath());
    EXPECT_EQ(SetupState.ContinueFlag, 0);
    EXPECT_EQ(Archive(), (Bytes{1}));  // closed with what it holds; no later disk asked for
    EXPECT_EQ(prompter.seen.size(), 1u);
}

TEST_F(VolumeAssembly, CancelDuringTheCopyStopsAtTheNextBlock) {
    Volume(1, SeededRandomBytes(10000, 4));
    Volume(2, {2});
    Volume(3, {3});
    static int blocks;
    blocks = 0;
    SetupState.MessagePump = [] {
        if (++blocks == 2) SetupState.ContinueFlag = 0;  // the user's Yes, taken while draining
    };
    AssembleVolumes(prompter, SetupPath());
    EXPECT_EQ(Archive().size(), 4096u);
    EXPECT_EQ(blocks, 2);
}

TEST_F(VolumeAssembly, EmptyVolumeNeitherDrawsNorDrains) {
    Volume(1, {});
    Volume(2, {});
    Volume(3, {});
    static int pumps;
    pumps = 0;
    SetupState.MessagePump = [] { ++pumps; };
    AssembleVolumes(prompter, SetupPath());
    EXPECT_TRUE(Archive().empty());
    EXPECT_EQ(pumps, 0);
    EXPECT_TRUE(canvas.Texts.empty());
    EXPECT_EQ(SetupState.ProgressMeter.LastDrawnPercent, -1);
}

TEST_F(VolumeAssembly, MeterRunsPastHundredOnlyOnTheFirstVolume) {
    Volume(1, Bytes(3300000, 0));
    Volume(2, Bytes(100000, 0));
    Volume(3, {});
    SetupState.ProgressMeter.LastDrawnPercent = 64;  // whatever an earlier meter showed
    AssembleVolumes(prompter, SetupPath());
    ASSERT_FALSE(canvas.Texts.empty());
    EXPECT_EQ(canvas.Texts.front(), "0%");
    EXPECT_EQ(canvas.Texts.back(), "103%");  // the capped second volume draws nothing
}

TEST_F(VolumeAssembly, MissingFirstVolumeFailsBeforeTheArchiveExists) {
    try {
        AssembleVolumes(prompter, SetupPath());
        FAIL() << "no failure";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "File not found");
    }
    EXPECT_FALSE(dest.Exists("Tavimore._MV"));
    EXPECT_FALSE(SetupState.ArchiveCreated);
}

TEST_F(VolumeAssembly, DamagedFileListFailsBeforeAnyVolume) {
    source.Write("SETUP.EXE", "program");
    TrailerContents trailer;
    trailer.Records.push_back(MakeTrailerRecord("..", 7, 1));
    trailer.Total = 8;
    AppendTrailer(SetupPath(), trailer);
    Volume(1, {1});
    EXPECT_THROW(AssembleVolumes(prompter, SetupPath()), EDamagedFileList);
    EXPECT_FALSE(dest.Exists("Tavimore._MV"));
}

}  // namespace
