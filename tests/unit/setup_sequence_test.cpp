#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "setup/Failures.h"
#include "setup/OsFile.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupSequence.h"
#include "setup/SetupState.h"
#include "setup/UninstallEntry.h"
#include "tests/support/TempDir.h"

namespace {

// A registry in memory: keys by path, values by key path and name; failures can be scripted.
class FakeRegistry : public RegistryAccess {
public:
    std::map<std::string, std::map<std::string, std::string>> values;
    bool failCreateProductKey = false;
    bool failOpenProductKey = false;
    std::optional<std::string> failSetValue;
    bool failUninstallKey = false;
    int openKeys = 0;

    RegistryKey LocalMachine() const override { return 1; }
    int CreateKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) override {
        if (subkey == UninstallKeyPath && failUninstallKey) return 5;
        if (subkey == ProductConfig.ProductTitle && failCreateProductKey) return 5;
        return Open(base, subkey, opened);
    }
    int OpenKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) override {
        if (failOpenProductKey) return 2;
        return Open(base, subkey, opened);
    }
    int SetString(RegistryKey key, const std::string& name, const std::string& data) override {
        if (failSetValue == name) return 5;
        values[paths.at(key)][name] = data;
        return 0;
    }
    void CloseKey(RegistryKey) override { --openKeys; }

private:
    int Open(RegistryKey base, const std::string& subkey, RegistryKey& opened) {
        const std::string path = base == LocalMachine() ? "HKLM\\" + subkey : paths.at(base) + "\\" + subkey;
        opened = paths.size() + 100;
        paths[opened] = path;
        ++openKeys;
        return 0;
    }
    std::map<RegistryKey, std::string> paths;
};

// The platform operations as a script: dialog outcomes by step, Yes/No answers, and a log of calls.
class ScriptedPlatform : public SetupPlatform {
public:
    std::map<DialogStep, DialogOutcome> outcomes;
    std::vector<bool> answers;  // Yes/No boxes, in order
    std::vector<std::string> log;
    FakeRegistry registry;
    std::function<void(DialogStep)> duringDialog;  // what a dialog does besides ending

    std::string ModuleFileName() override { return "A:\\SETUP.EXE"; }
    void MeasureScreen(std::int32_t& w, std::int32_t& h) override { w = 1024, h = 768; }
    void CreateBackgroundWindow() override { log.push_back("background"); }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    DialogOutcome RunDialog(DialogStep step) override {
        log.push_back(DialogTemplateName(step));
        if (duringDialog) duringDialog(step);
        const auto found = outcomes.find(step);
        return found == outcomes.end() ? DialogOutcome{false, 1} : found->second;
    }
    void CreateShortcut() override { log.push_back("shortcut"); }
    RegistryAccess& Registry() override {
        log.push_back("uninstall entry");
        return registry;
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        log.push_back("ask: " + caption + ": " + text);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        return yes;
    }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        log.push_back("box: " + caption + ": " + text);
    }
    void Launch(const std::string& file, const std::string& dir) override {
        log.push_back("launch " + file + " in " + dir);
    }
    void RemoveFile(const std::string& path) override {
        log.push_back("delete " + path);
        OsDeleteFile(path);
    }
};

constexpr DialogOutcome Missing{true, 0};
constexpr DialogOutcome Ended(std::int32_t result) { return {false, result}; }

const std::string kTerminated = "box: Quenfold: The Installation process has been terminated.";
const std::string kFinal = "ask: Quenfold: Quenfold has been successfully installed.\r\n\r\nDo you wish to run Quenfold?";

class SetupSequence : public ::testing::Test {
protected:
    void SetUp() override {
        ProductConfig = ProductConfigRecord{};
        SetupState = SetupStateRecord{};
        SetupState.DestDir = dest.Dir();
        platform = ScriptedPlatform{};
        // Stand-ins for the working dialogs, which make the two intermediate files.
        platform.duringDialog = [this](DialogStep step) {
            if (step == DialogStep::IProgress && makeFiles) {
                dest.Write("Tavimore._MV", "partial archive");
                SetupState.ArchiveCreated = true;
            }
            if (step == DialogStep::Progress && makeFiles) {
                dest.Write("Tavimore.Exe", "partial bundle");
                SetupState.BundleCreated = true;
            }
        };
    }
    std::vector<std::string> Run() {
        RunSetup(platform);
        return platform.log;
    }
    TempDir dest;
    ScriptedPlatform platform;
    bool makeFiles = false;
};

// One row per outcome of the step table: what the dialogs give and what must follow.
struct SequenceCase {
    const char* name;
    std::map<DialogStep, DialogOutcome> outcomes;
    std::vector<bool> answers;
    std::vector<std::string> expected;  // after "background"
};

TEST_F(SetupSequence, StepTable) {
    const std::string launch = "launch " + JoinPath(dest.Dir(), "Tavimore.Exe") + " in " + dest.Dir();
    const std::vector<SequenceCase> cases = {
        {"all confirmed, Yes at the end", {}, {true},
         {"Main", "License", "IProgress", "Progress", "Group", "shortcut", "uninstall entry", kFinal, launch}},
        {"final No", {}, {false},
         {"Main", "License", "IProgress", "Progress", "Group", "shortcut", "uninstall entry", kFinal}},
        {"Main missing ends silently", {{DialogStep::Main, Missing}}, {}, {"Main"}},
        {"Main cancelled", {{DialogStep::Main, Ended(0)}}, {}, {"Main", kTerminated}},
        {"Main not created", {{DialogStep::Main, Ended(-1)}}, {}, {"Main", kTerminated}},
        {"License missing is skipped", {{DialogStep::License, Missing}}, {false},
         {"Main", "License", "IProgress", "Progress", "Group", "shortcut", "uninstall entry", kFinal}},
        {"License exit", {{DialogStep::License, Ended(0)}}, {}, {"Main", "License", kTerminated}},
        {"IProgress missing", {{DialogStep::IProgress, Missing}}, {}, {"Main", "License", "IProgress", kTerminated}},
        {"IProgress cancelled", {{DialogStep::IProgress, Ended(0)}}, {},
         {"Main", "License", "IProgress", kTerminated}},
        {"Progress missing", {{DialogStep::Progress, Missing}}, {},
         {"Main", "License", "IProgress", "Progress", kTerminated}},
        {"Progress gave up", {{DialogStep::Progress, Ended(0)}}, {},
         {"Main", "License", "IProgress", "Progress", kTerminated}},
        {"Group missing", {{DialogStep::Group, Missing}}, {},
         {"Main", "License", "IProgress", "Progress", "Group", kTerminated}},
        {"Group cancelled: no shortcut, the finish goes on", {{DialogStep::Group, Ended(0)}}, {false},
         {"Main", "License", "IProgress", "Progress", "Group", "uninstall entry", kFinal}},
        {"a result other than 0 and 1 counts as not confirmed", {{DialogStep::Progress, Ended(2)}}, {},
         {"Main", "License", "IProgress", "Progress", kTerminated}},
    };
    for (const auto& c : cases) {
        SetUp();
        platform.outcomes = c.outcomes;
        platform.answers = c.answers;
        std::vector<std::string> expected = {"background"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(Run(), expected) << c.name;
    }
}

TEST_F(SetupSequence, StartUpFillsTheState) {
    platform.outcomes[DialogStep::Main] = Missing;
    Run();
    EXPECT_EQ(SetupState.SourceDir, "A:\\");
    EXPECT_EQ(SetupState.WindowsDir, "C:\\WINDOWS");
    EXPECT_EQ(SetupState.ScreenWidth, 1024);
    EXPECT_EQ(SetupState.ScreenHeight, 768);
    EXPECT_EQ(SetupState.FileOpenMode, 2);
    EXPECT_NE(SetupState.DecoderSource, nullptr);
    EXPECT_NE(SetupState.DecoderSink, nullptr);
}

TEST_F(SetupSequence, MissingLicenseKeepsTheResultOfMain) {
    platform.outcomes[DialogStep::License] = Missing;
    platform.outcomes[DialogStep::IProgress] = Missing;
    Run();
    EXPECT_EQ(SetupState.DialogResult, 1);
}

TEST_F(SetupSequence, CleanUpDeletesTheFilesThisRunMade) {
    makeFiles = true;
    platform.outcomes[DialogStep::Progress] = Ended(0);
    const auto log = Run();
    EXPECT_FALSE(dest.Exists("Tavimore._MV"));
    EXPECT_FALSE(dest.Exists("Tavimore.Exe"));
    // The archive first, the bundle second, both before the box.
    const std::vector<std::string> tail(log.end() - 3, log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"delete " + JoinPath(dest.Dir(), "Tavimore._MV"),
                                              "delete " + JoinPath(dest.Dir(), "Tavimore.Exe"), kTerminated}));
}

TEST_F(SetupSequence, CleanUpLeavesAnEarlierInstallationAlone) {
    dest.Write("Tavimore.Exe", "installed earlier");
    platform.outcomes[DialogStep::License] = Ended(0);
    Run();
    EXPECT_EQ(dest.Read("Tavimore.Exe"), Bytes({'i', 'n', 's', 't', 'a', 'l', 'l', 'e', 'd', ' ', 'e', 'a', 'r', 'l',
                                                'i', 'e', 'r'}));
}

TEST_F(SetupSequence, MissingGroupDeletesTheFreshlyExtractedProgram) {
    makeFiles = true;
    platform.outcomes[DialogStep::Group] = Missing;
    Run();
    EXPECT_FALSE(dest.Exists("Tavimore.Exe"));
}

TEST_F(SetupSequence, LaunchUsesTheExeExtension) {
    ProductConfig.ExeFileName = "Tavimore.Bin";
    platform.answers = {true};
    const auto log = Run();
    EXPECT_EQ(log.back(), "launch " + JoinPath(dest.Dir(), "Tavimore.Exe") + " in " + dest.Dir());
    EXPECT_EQ(ProductConfig.ExeFileName, "Tavimore.Exe");
}

TEST_F(SetupSequence, UninstallEntryValues) {
    SetupState.DestDir = "C:\\Apps\\Quenfold";
    WriteUninstallEntry(platform.registry);
    const auto& values = platform.registry.values.at("HKLM\\" + std::string(UninstallKeyPath) + "\\Quenfold");
    EXPECT_EQ(values.at("DisplayName"), "Quenfold");
    EXPECT_EQ(values.at("UnInstallString"), "C:\\Apps\\Quenfold\\UnInstal.Exe");
    EXPECT_EQ(platform.registry.openKeys, 0);

    SetupState.DestDir = "C:\\";
    WriteUninstallEntry(platform.registry);
    EXPECT_EQ(platform.registry.values.at("HKLM\\" + std::string(UninstallKeyPath) + "\\Quenfold").at("UnInstallString"),
              "C:\\UnInstal.Exe");
}

TEST_F(SetupSequence, UninstallEntryFailures) {
    auto messageOf = [&] {
        try {
            WriteUninstallEntry(platform.registry);
        } catch (const ERegistryException& e) {
            return e.Message();
        }
        return std::string("no failure");
    };
    platform.registry.failCreateProductKey = true;
    EXPECT_EQ(messageOf(), "Failed to create key Quenfold");
    platform.registry = FakeRegistry{};
    platform.registry.failSetValue = "UnInstallString";
    EXPECT_EQ(messageOf(), "Failed to set data for 'UnInstallString'");
    // A product key that cannot be opened leaves the values unwritten and says nothing.
    platform.registry = FakeRegistry{};
    platform.registry.failOpenProductKey = true;
    EXPECT_EQ(messageOf(), "no failure");
    EXPECT_TRUE(platform.registry.values.empty());
    // Without the uninstall key the product key goes straight under HKEY_LOCAL_MACHINE.
    platform.registry = FakeRegistry{};
    platform.registry.failUninstallKey = true;
    EXPECT_EQ(messageOf(), "no failure");
    EXPECT_EQ(platform.registry.values.at("HKLM\\Quenfold").at("DisplayName"), "Quenfold");
}

TEST_F(SetupSequence, RegistryFailureStopsBeforeTheFinalQuestion) {
    platform.registry.failSetValue = "DisplayName";
    EXPECT_THROW(RunSetup(platform), ERegistryException);
    EXPECT_EQ(platform.log.back(), "uninstall entry");
}

}  // namespace
