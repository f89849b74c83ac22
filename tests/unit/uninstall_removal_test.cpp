#include <gtest/gtest.h>

#include "bundle/BundleTrailer.h"
#include "setup/Failures.h"
#include "setup/OsFile.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/UninstallEntry.h"
#include "tests/support/TempDir.h"
#include "uninstall/ProductRemoval.h"

namespace {

class FakeRemovalPlatform : public RemovalPlatform {
public:
    std::string windows;
    std::vector<std::string> shortcuts;  // existing link files pointing at the product
    std::string command;
    bool answer = true;
    int questions = 0;
    bool entryDeleted = false;

    std::string WindowsDirectory() override { return windows; }
    std::vector<std::string> ShortcutsTo(const std::string&) override { return shortcuts; }
    std::string UninstallCommand() override { return command; }
    void DeleteUninstallEntry() override { entryDeleted = true; }
    bool Confirm(const std::string& text, const std::string& caption) override {
        ++questions;
        EXPECT_EQ(text, "Do you want to remove Quenfold and all of its components?");
        EXPECT_EQ(caption, "Quenfold");
        return answer;
    }
};

// An installed product: the folder as the setup program leaves it, and the uninstaller's trailer.
class ProductRemoval : public ::testing::Test {
protected:
    void SetUp() override {
        ProductConfig = ProductConfigRecord{};
        std::filesystem::create_directories(windows.Root() / "Help");
        platform.windows = windows.Dir();
        folder = (parent.Root() / "Quenfold").string();
        std::filesystem::create_directory(folder);
        Install("Tavimore.Exe", "main program");
        const std::pair<const char*, const char*> files[] = {{"README.TXT", "readme"}, {"QUENFOLD.HLP", "help!"},
                                                           {"QUENFOLD.LIB", "lib"},   {"QUENFOLD.DTP", "data"},
                                                           {"UnInstal.Exe", "me"}};
        std::int32_t offset = 12;
        for (const auto& [name, content] : files) {
            const std::string text = content;
            trailer.Records.push_back(MakeTrailerRecord(name, offset, static_cast<std::int32_t>(text.size())));
            offset += static_cast<std::int32_t>(text.size());
            if (UpperExtensionOf(name) == ".HLP") {
                windows.Write("Help/" + std::string(name), text);
            } else {
                Install(name, text);
            }
        }
        trailer.Total = offset;
        shortcut = (parent.Root() / "Quenfold.LNK").string();
        WriteWholeFile(shortcut, {'L'});
        platform.shortcuts = {shortcut};
        platform.command = JoinPath(folder, "UnInstal.Exe");
    }
    void Install(const std::string& name, const std::string& content) {
        WriteWholeFile(std::filesystem::path(folder) / name, Bytes(content.begin(), content.end()));
    }
    bool Present(const std::string& name) const { return std::filesystem::exists(std::filesystem::path(folder) / name); }
    RemovalOutcome Remove() { return RemoveProduct(platform, JoinPath(folder, "UnInstal.Exe"), trailer); }

    TempDir parent, windows;
    std::string folder, shortcut;
    TrailerContents trailer;
    FakeRemovalPlatform platform;
};

TEST_F(ProductRemoval, YesRemovesWhatWasInstalledAndKeepsTheUsersData) {
    const RemovalOutcome outcome = Remove();
    EXPECT_FALSE(Present("README.TXT"));
    EXPECT_FALSE(Present("Tavimore.Exe"));
    EXPECT_FALSE(windows.Exists("Help/QUENFOLD.HLP"));
    EXPECT_FALSE(std::filesystem::exists(shortcut));
    EXPECT_TRUE(platform.entryDeleted);
    EXPECT_TRUE(Present("QUENFOLD.LIB"));
    EXPECT_TRUE(Present("QUENFOLD.DTP"));
    EXPECT_TRUE(Present("UnInstal.Exe"));  // removed afterwards by its copy
    EXPECT_FALSE(outcome.FolderToBeRemoved);  // the kept files are still in it
    const std::string text = DescribeRemoval(outcome);
    EXPECT_NE(text.find("Removed:"), std::string::npos);
    EXPECT_NE(text.find("QUENFOLD.LIB (it may hold your data)"), std::string::npos);
    EXPECT_NE(text.find("(it holds other files)"), std::string::npos);
}

TEST_F(ProductRemoval, EmptiedFolderIsToBeRemoved) {
    std::filesystem::remove(std::filesystem::path(folder) / "QUENFOLD.LIB");
    std::filesystem::remove(std::filesystem::path(folder) / "QUENFOLD.DTP");
    const RemovalOutcome outcome = Remove();
    EXPECT_TRUE(outcome.FolderToBeRemoved);
}

TEST_F(ProductRemoval, NoChangesNothing) {
    platform.answer = false;
    const RemovalOutcome outcome = Remove();
    EXPECT_TRUE(outcome.Declined);
    EXPECT_TRUE(Present("README.TXT"));
    EXPECT_TRUE(Present("Tavimore.Exe"));
    EXPECT_TRUE(windows.Exists("Help/QUENFOLD.HLP"));
    EXPECT_TRUE(std::filesystem::exists(shortcut));
    EXPECT_FALSE(platform.entryDeleted);
}

TEST_F(ProductRemoval, HelpFileOfAnotherSizeIsNotOurs) {
    windows.Write("Help/QUENFOLD.HLP", "the user's own, longer help file");
    const RemovalOutcome outcome = Remove();
    EXPECT_TRUE(windows.Exists("Help/QUENFOLD.HLP"));
    EXPECT_NE(DescribeRemoval(outcome).find("it is not the one Quenfold installed"), std::string::npos);
}

TEST_F(ProductRemoval, HelpFileThatFellBackToTheFolderIsRemovedThere) {
    std::filesystem::remove(windows.Root() / "Help" / "QUENFOLD.HLP");
    Install("QUENFOLD.HLP", "help!");
    Remove();
    EXPECT_FALSE(Present("QUENFOLD.HLP"));
}

TEST_F(ProductRemoval, SecondRunFindsNothingToRemove) {
    Remove();
    platform.shortcuts.clear();
    platform.command.clear();
    platform.questions = 0;
    const RemovalOutcome second = Remove();
    EXPECT_TRUE(second.NothingToRemove);
    EXPECT_EQ(platform.questions, 0);
    EXPECT_EQ(DescribeRemoval(second), "Quenfold is not installed here: there is nothing to remove.");
}

TEST_F(ProductRemoval, EntryOfAnotherInstallationStays) {
    platform.command = "D:\\Elsewhere\\UnInstal.Exe";
    const RemovalOutcome outcome = Remove();
    EXPECT_FALSE(platform.entryDeleted);
    EXPECT_NE(DescribeRemoval(outcome).find("it belongs to D:\\Elsewhere\\UnInstal.Exe"), std::string::npos);
}

TEST_F(ProductRemoval, NameThatIsNotAPlainFileNameStopsBeforeAnyDeletion) {
    for (const char* name : {"..\\EVIL.TXT", "C:EVIL", "\\EVIL", "CON", "NUL.TXT"}) {
        TrailerContents bad = trailer;
        bad.Records.push_back(MakeTrailerRecord(name, 0, 0));
        try {
            RemoveProduct(platform, JoinPath(folder, "UnInstal.Exe"), bad);
            ADD_FAILURE() << name << ": accepted";
        } catch (const EDamagedFileList& failure) {
            EXPECT_EQ(failure.Message().rfind("The uninstaller's file list is damaged: ", 0), 0u) << failure.Message();
        }
    }
    EXPECT_TRUE(Present("README.TXT"));
    EXPECT_TRUE(Present("Tavimore.Exe"));
    EXPECT_EQ(platform.questions, 0);
}

TEST(ProtectedFolder, RootsAndTheWindowsDirectory) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\", true}, {"C:", true}, {"c:\\windows\\", true}, {"C:\\WINDOWS", true}, {"\\\\server\\share\\", true},
        {"", true},     {"C:\\Program Files\\Quenfold\\", false}, {"C:\\WINDOWS\\Quenfold", false}};
    for (const auto& [folder, protectedFolder] : cases) {
        EXPECT_EQ(IsProtectedFolder(folder, "C:\\WINDOWS"), protectedFolder) << folder;
    }
}

}  // namespace
