#include "tests/e2e/driver/SetupProcessWin32.h"

#include "tests/e2e/driver/StepFailure.h"

namespace {

// Exit code given to a program that the driver had to end.
constexpr UINT kTerminatedExitCode = 255;

}  // namespace

SetupProcess::~SetupProcess() {
    if (process_) CloseHandle(process_);
}

void SetupProcess::Start(const std::string& path) {
    if (Running()) throw StepFailure("the program started before is still running");
    if (process_) CloseHandle(process_);
    process_ = nullptr;
    std::string folder = path.substr(0, path.find_last_of("\\:") + 1);
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        throw StepFailure("cannot start " + path + ": error " + std::to_string(GetLastError()));
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

bool SetupProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> SetupProcess::WaitForExit(DWORD timeoutMs) const {
    if (!process_) throw StepFailure("no program was started");
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void SetupProcess::Terminate() {
    if (!Running()) return;
    TerminateProcess(process_, kTerminatedExitCode);
    WaitForSingleObject(process_, INFINITE);
}
