#include "uninstall/RemovalPlatformWin32.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "bundle/BundleDirectoryValidation.h"
#include "setup/OsFile.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SystemPathsWin32.h"
#include "setup/UninstallEntry.h"
#include "shell/ComInterfaceWin32.h"
#include "shell/ShortcutWin32.h"

namespace {

// The target of the link file at path, read back through the shell's link object; empty when it
// cannot be read.
std::string LinkTarget(IShellLinkA& link, IPersistFile& file, const std::string& path) {
    WCHAR units[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, units, MAX_PATH) == 0) return {};
    if (FAILED(file.Load(units, STGM_READ))) return {};
    char target[MAX_PATH] = {};
    if (FAILED(link.GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
    return target;
}

}  // namespace

std::string Win32RemovalPlatform::WindowsDirectory() { return ::WindowsDirectory(); }

std::vector<std::string> Win32RemovalPlatform::ShortcutsTo(const std::string& target) {
    std::vector<std::string> found;
    const std::optional<std::string> programs = ProgramsFolder();
    if (!programs || programs->empty()) return found;
    const ComScope com;
    for (const std::string& name : OsListFolder(*programs)) {
        if (UpperExtensionOf(name) != ".LNK") continue;
        ComInterface<IShellLinkA> link;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Receive()))) {
            return found;
        }
        ComInterface<IPersistFile> file;
        if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive()))) return found;
        const std::string path = JoinPath(*programs, name);
        if (SameFileName(LinkTarget(*link.Get(), *file.Get(), path), target)) found.push_back(path);
    }
    return found;
}

std::string Win32RemovalPlatform::UninstallCommand() {
    const std::string key = std::string(UninstallKeyPath) + "\\" + ProductConfig.ProductTitle;
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), "UnInstallString", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return value;
}

void Win32RemovalPlatform::DeleteUninstallEntry() {
    HKEY uninstall = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKeyPath, 0, KEY_ALL_ACCESS, &uninstall) != ERROR_SUCCESS) return;
    RegDeleteKeyA(uninstall, ProductConfig.ProductTitle.c_str());
    RegCloseKey(uninstall);
}

bool Win32RemovalPlatform::Confirm(const std::string& text, const std::string& caption) {
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}
