#include "setup/SystemPathsWin32.h"

#include <windows.h>

std::string OwnModulePath() {
    char path[261] = {};
    GetModuleFileNameA(nullptr, path, 260);
    return path;
}

std::string WindowsDirectory() {
    char directory[256] = {};
    GetWindowsDirectoryA(directory, sizeof directory);
    return directory;
}
