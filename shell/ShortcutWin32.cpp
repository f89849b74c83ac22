#include "shell/ShortcutWin32.h"

#include <windows.h>
#include <shlobj.h>

#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "shell/ComInterfaceWin32.h"
#include "shell/RegIniFileWin32.h"

namespace {

// The link path as Save wants it: at most 254 UTF-16 units, or the empty string when it does not fit.
void ToLinkPathUnits(const std::string& path, WCHAR (&units)[255]) {
    const int converted =
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), units, 254);
    units[converted] = L'\0';
}

}  // namespace

std::optional<std::string> ProgramsFolder() {
    const RegIniFile explorer("Software\\microsoft\\windows\\currentversion\\explorer");
    return explorer.ReadString("Shell Folders", "programs", "");
}

void CreateShortcut() {
    const std::optional<std::string> programs = ProgramsFolder();
    if (!programs) return;

    const ComScope com;
    ComInterface<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Receive()))) {
        return;
    }
    link->SetPath(JoinPath(SetupState.DestDir, ProductConfig.ExeFileName).c_str());
    link->SetWorkingDirectory(SetupState.DestDir.c_str());
    link->SetShowCmd(SW_SHOWNORMAL);
    ComInterface<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive()))) return;

    ProductConfig.GroupName += ".LNK";
    WCHAR units[255];
    ToLinkPathUnits(JoinPath(*programs, ProductConfig.GroupName), units);
    file->Save(units, FALSE);
}
