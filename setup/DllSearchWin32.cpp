#include "setup/DllSearchWin32.h"

#include <windows.h>

namespace {

template <class Proc>
Proc Kernel32Proc(const char* name) {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

}  // namespace

void RestrictDllSearchToSystem() {
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryProc = BOOL(WINAPI*)(LPCSTR);
    if (const auto setDefault = Kernel32Proc<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories")) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    } else if (const auto setDirectory = Kernel32Proc<SetDllDirectoryProc>("SetDllDirectoryA")) {
        // Older systems: at least take the current directory out of the search.
        setDirectory("");
    }
}
