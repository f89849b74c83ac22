// The uninstaller's entry, run from the product's folder through the uninstall entry. Exit status 0
// after a removal, a refusal or when there is nothing to remove; 1 after a failure report.
#include <windows.h>

#include <cstdlib>

#include "bundle/BundleDirectoryReader.h"
#include "setup/DllSearchWin32.h"
#include "setup/FailureReport.h"
#include "setup/ProductConfig.h"
#include "setup/SystemPathsWin32.h"
#include "uninstall/ProductRemoval.h"
#include "uninstall/RemovalPlatformWin32.h"
#include "uninstall/SelfRemovalWin32.h"

namespace {

int Uninstall() {
    const std::string ownPath = OwnModulePath();
    Win32RemovalPlatform platform;
    const RemovalOutcome outcome = RemoveProduct(platform, ownPath, ReadTrailer(ownPath));
    if (outcome.Declined) return 0;
    MessageBoxA(nullptr, DescribeRemoval(outcome).c_str(), ProductConfig.ProductTitle.c_str(),
                MB_OK | MB_ICONINFORMATION);
    if (!outcome.NothingToRemove) StartSelfRemoval(ownPath, outcome.FolderToBeRemoved);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearchToSystem();
    if (RunSelfRemovalIfAsked(__argc, __argv)) return 0;
    return GuardFailures(Uninstall);
}
