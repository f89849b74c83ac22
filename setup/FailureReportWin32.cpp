#include <windows.h>

#include <string>

#include "setup/FailureReport.h"
#include "setup/SystemPathsWin32.h"

[[noreturn]] void ReportUnhandledFailure(const SetupFailure& failure) {
    const std::string path = OwnModulePath();
    const std::string module = path.substr(path.find_last_of("\\:/") + 1);
    const std::string text =
        FormatFailureReport(failure.ClassName(), module, failure.Address(), failure.Message());
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    ExitProcess(1);
}
