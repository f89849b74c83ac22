#include "uninstall/SelfRemovalWin32.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "bundle/BundleDirectoryValidation.h"
#include "setup/PathHelpers.h"
#include "setup/SystemPathsWin32.h"
#include "setup/UninstallEntry.h"
#include "uninstall/ProductRemoval.h"

namespace {

constexpr const char* FinishSwitch = "/finish";
constexpr DWORD WaitForUninstallerMs = 60000;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

void DeleteAfterRestart(const std::string& path) {
    MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

void StartSelfRemoval(const std::string& ownPath, bool removeFolder) {
    char tempFolder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tempFolder);
    const std::string copy =
        JoinPath(tempFolder, "QuenfoldUninstall" + std::to_string(GetCurrentProcessId()) + ".exe");
    std::string commandLine = Quoted(copy) + " " + FinishSwitch + " " + std::to_string(GetCurrentProcessId()) + " " +
                              (removeFolder ? "1" : "0") + " " + Quoted(ownPath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CopyFileA(ownPath.c_str(), copy.c_str(), FALSE) &&
        CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, tempFolder, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return;
    }
    // Without the copy the uninstaller and its emptied folder go at the next restart.
    DeleteAfterRestart(ownPath);
    if (removeFolder) DeleteAfterRestart(DirectoryOf(ownPath));
}

bool RunSelfRemovalIfAsked(int argc, char** argv) {
    if (argc != 5 || std::string(argv[1]) != FinishSwitch) return false;
    const DWORD uninstallerId = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    const bool removeFolder = std::string(argv[3]) == "1";
    const std::string uninstaller = argv[4];
    const std::string folder = DirectoryOf(uninstaller);

    if (const HANDLE running = OpenProcess(SYNCHRONIZE, FALSE, uninstallerId)) {
        WaitForSingleObject(running, WaitForUninstallerMs);
        CloseHandle(running);
    }
    // Only ever the uninstaller itself, and a folder that is empty and not a protected one.
    if (SameFileName(uninstaller.substr(folder.size()), UninstallerFileName)) {
        for (int attempt = 0; attempt < 50 && !DeleteFileA(uninstaller.c_str()); ++attempt) {
            if (GetLastError() == ERROR_FILE_NOT_FOUND) break;
            Sleep(100);
        }
        if (removeFolder && !IsProtectedFolder(folder, WindowsDirectory())) RemoveDirectoryA(folder.c_str());
    }
    DeleteAfterRestart(OwnModulePath());
    return true;
}
