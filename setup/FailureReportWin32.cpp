#include <windows.h>

#include <string>

#include "setup/FailureReport.h"

[[noreturn]] void ReportUnhandledFailure(const SetupFailure& failure) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string module = path;
    module = module.substr(module.find_last_of("\\:/") + 1);
    const std::string text =
        FormatFailureReport(failure.ClassName(), module, failure.Address(), failure.Message());
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    ExitProcess(1);
}
