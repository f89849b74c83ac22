#include "uninstall/ProductRemoval.h"

#include <algorithm>
#include <optional>

#include "bundle/BundleDirectoryValidation.h"
#include "setup/CheckedFile.h"
#include "setup/Failures.h"
#include "setup/OsFile.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/UninstallEntry.h"

namespace {

std::optional<std::int64_t> SizeOfFile(const std::string& path) {
    CheckedFile file;
    file.SetChecking(false);
    file.Open(path, 0);
    if (file.TakeError() != 0) return std::nullopt;
    const std::int64_t size = file.Size();
    return file.TakeError() == 0 ? std::optional(size) : std::nullopt;
}

std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

void Delete(const std::string& path, RemovalOutcome& outcome) {
    if (const int code = OsDeleteFile(path)) throw ERemovalFailed(path, code);
    outcome.Removed.push_back(path);
}

// The files of ours that are present, and what is kept, in trailer order.
std::vector<std::string> InstalledFiles(const std::string& folder, const std::string& ownName,
                                        const std::string& helpFolder, const TrailerContents& trailer,
                                        RemovalOutcome& outcome) {
    std::vector<std::string> files;
    for (const TrailerRecord& record : trailer.Records) {
        const std::string name = record.Name();
        if (SameFileName(name, ownName)) continue;  // the uninstaller goes last, by other means
        const std::string inFolder = JoinPath(folder, name);
        const std::string ext = UpperExtensionOf(name);
        if (ext == ".LIB" || ext == ".DTP") {
            if (IsExistingFile(inFolder)) outcome.Kept.push_back(inFolder + " (it may hold your data)");
            continue;
        }
        if (IsExistingFile(inFolder)) files.push_back(inFolder);
        if (ext == ".HLP") {
            // The help directory is shared: a file of that name but another size is not ours.
            const std::string help = JoinPath(helpFolder, name);
            const std::optional<std::int64_t> size = SizeOfFile(help);
            if (size == record.Size) {
                files.push_back(help);
            } else if (size) {
                outcome.Kept.push_back(help + " (it is not the one Quenfold installed)");
            }
        }
    }
    const std::string mainProgram = JoinPath(folder, ProductConfig.ExeFileName);
    if (IsExistingFile(mainProgram)) files.push_back(mainProgram);
    return files;
}

}  // namespace

bool IsProtectedFolder(const std::string& folder, const std::string& windowsDirectory) {
    const std::string bare = WithoutTrailingSeparators(folder);
    if (bare.empty() || (bare.size() == 2 && bare[1] == ':')) return true;
    if (bare.rfind("\\\\", 0) == 0 && std::count(bare.begin() + 2, bare.end(), '\\') <= 1) return true;
    return SameFileName(bare, WithoutTrailingSeparators(windowsDirectory));
}

RemovalOutcome RemoveProduct(RemovalPlatform& platform, const std::string& ownPath, const TrailerContents& trailer) {
    if (const std::string fault = TrailerFault(trailer); !fault.empty()) {
        throw EDamagedFileList(fault, "The uninstaller");
    }
    const std::string folder = DirectoryOf(ownPath);
    const std::string ownName = ownPath.substr(folder.size());
    const std::string windows = platform.WindowsDirectory();

    RemovalOutcome outcome;
    const std::vector<std::string> files =
        InstalledFiles(folder, ownName, JoinPath(windows, "Help"), trailer, outcome);
    const std::vector<std::string> shortcuts =
        platform.ShortcutsTo(JoinPath(folder, ProductConfig.ExeFileName));
    const std::string command = platform.UninstallCommand();
    const bool entryIsOurs = SameFileName(command, JoinPath(folder, UninstallerFileName));
    if (files.empty() && shortcuts.empty() && !entryIsOurs) {
        outcome.NothingToRemove = true;
        return outcome;
    }
    if (!platform.Confirm(RemovalQuestion, ProductConfig.ProductTitle)) {
        outcome.Declined = true;
        outcome.Kept.clear();
        return outcome;
    }

    for (const std::string& file : files) Delete(file, outcome);
    for (const std::string& shortcut : shortcuts) Delete(shortcut, outcome);
    if (entryIsOurs) {
        platform.DeleteUninstallEntry();
        outcome.Removed.push_back("the entry in the list of installed programs");
    } else if (!command.empty()) {
        outcome.Kept.push_back("the entry in the list of installed programs (it belongs to " + command + ")");
    }

    std::vector<std::string> rest = OsListFolder(folder);
    std::erase_if(rest, [&](const std::string& name) { return SameFileName(name, ownName); });
    if (!rest.empty()) {
        outcome.Kept.push_back(WithoutTrailingSeparators(folder) + " (it holds other files)");
    } else if (!IsProtectedFolder(folder, windows)) {
        outcome.FolderToBeRemoved = true;
        outcome.Removed.push_back(WithoutTrailingSeparators(folder));
    }
    return outcome;
}

std::string DescribeRemoval(const RemovalOutcome& outcome) {
    if (outcome.NothingToRemove) return "Quenfold is not installed here: there is nothing to remove.";
    std::string text = "Quenfold has been removed.";
    if (!outcome.Removed.empty()) {
        text += "\r\n\r\nRemoved:";
        for (const std::string& item : outcome.Removed) text += "\r\n    " + item;
    }
    if (!outcome.Kept.empty()) {
        text += "\r\n\r\nKept:";
        for (const std::string& item : outcome.Kept) text += "\r\n    " + item;
    }
    return text;
}
