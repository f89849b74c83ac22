// What the uninstaller removes: the files that its own trailer lists, from its own folder; a listed
// help file from the Windows help directory when it is the one the setup program put there; the
// main program; the product's shortcuts; the uninstall entry. Files that may hold the user's data
// (".LIB", ".DTP") and anything not ours stay.
#pragma once

#include <string>
#include <vector>

#include "bundle/BundleTrailer.h"

// What the uninstaller needs beyond plain files.
class RemovalPlatform {
public:
    virtual ~RemovalPlatform() = default;
    virtual std::string WindowsDirectory() = 0;
    // The shortcuts in the user's Programs folder whose target is target.
    virtual std::vector<std::string> ShortcutsTo(const std::string& target) = 0;
    // The "UnInstallString" of the product's uninstall entry; empty when there is no entry.
    virtual std::string UninstallCommand() = 0;
    virtual void DeleteUninstallEntry() = 0;
    // A Yes/No question; true on Yes.
    virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
};

struct RemovalOutcome {
    bool NothingToRemove = false;
    bool Declined = false;
    std::vector<std::string> Removed;  // paths, and the uninstall entry
    std::vector<std::string> Kept;     // paths, each with the reason
    // The product folder holds nothing but the uninstaller now, which is to remove it.
    bool FolderToBeRemoved = false;
};

inline constexpr const char* RemovalQuestion = "Do you want to remove Quenfold and all of its components?";

// A folder that is never removed: the root of a drive, or the Windows directory.
bool IsProtectedFolder(const std::string& folder, const std::string& windowsDirectory);

// Removes the product installed in the folder of ownPath, as trailer lists it. A trailer that is not
// sound raises EDamagedFileList before anything is deleted; a file that cannot be deleted raises
// ERemovalFailed.
RemovalOutcome RemoveProduct(RemovalPlatform& platform, const std::string& ownPath, const TrailerContents& trailer);

// The text of the final box: what was removed and what was kept.
std::string DescribeRemoval(const RemovalOutcome& outcome);
