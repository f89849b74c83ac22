// The setup program's entry: no command line, exit status 0 after a completed or cancelled
// installation, 1 after a failure report.
#include <windows.h>

#include "setup/DllSearchWin32.h"
#include "setup/FailureReport.h"
#include "setup/SetupPlatformWin32.h"
#include "setup/SetupState.h"
#include "ui/MessagePumpWin32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearchToSystem();
    SetupState.MessagePump = DrainMessageQueue;
    Win32SetupPlatform platform;
    GuardFailures([&] { RunSetup(platform); });
    return 0;
}
