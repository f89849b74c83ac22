#include "setup/ModulePathWin32.h"

#include <windows.h>

std::string OwnModulePath() {
    char path[261] = {};
    GetModuleFileNameA(nullptr, path, 260);
    return path;
}
