#include "tests/e2e/driver/DriverContextWin32.h"

#include <optional>

#include "tests/e2e/driver/Placeholders.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

constexpr DWORD kPollMs = 50;

// The user's Start-menu Programs folder as the shell records it.
std::optional<std::string> ProgramsFolder() {
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Programs", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> WindowsFolder() {
    char value[MAX_PATH] = "";
    if (GetWindowsDirectoryA(value, sizeof value) == 0) return std::nullopt;
    return std::string(value);
}

}  // namespace

HWND DriverContext::Window(const std::string& name) const {
    auto found = windows.find(name);
    if (found == windows.end()) throw StepFailure("no window was named " + name);
    if (!IsWindow(found->second)) throw StepFailure("window " + name + " no longer exists");
    return found->second;
}

std::string DriverContext::ExpandPath(const std::string& path) const {
    return ExpandPlaceholders(path, [](const std::string& name) -> std::optional<std::string> {
        if (name == "PROGRAMS") return ProgramsFolder();
        if (name == "WINDIR") return WindowsFolder();
        return std::nullopt;
    });
}

bool WaitFor(DWORD timeoutMs, const std::function<bool()>& condition, DWORD pollMs) {
    DWORD start = GetTickCount();
    while (true) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(pollMs);
    }
}

std::string WatchFor(DWORD watchMs, const std::function<std::string()>& breach) {
    DWORD start = GetTickCount();
    while (true) {
        std::string found = breach();
        if (!found.empty()) return found;
        if (GetTickCount() - start >= watchMs) return {};
        Sleep(kPollMs);
    }
}
