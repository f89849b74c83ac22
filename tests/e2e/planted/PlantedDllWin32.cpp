// A DLL planted beside a program under the name of a system DLL that the program loads by name
// while it runs. Loaded, it leaves the marker PLANTED.RAN in its own folder, naming the program
// that loaded it, and then refuses to stay: the program goes on without it.
#include <windows.h>

namespace {

void WriteMarker(HINSTANCE self) {
    char marker[MAX_PATH] = "";
    char program[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(self, marker, MAX_PATH);
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    while (length > 0 && marker[length - 1] != '\\') --length;
    if (length == 0 || length + sizeof "PLANTED.RAN" > MAX_PATH) return;
    lstrcpyA(marker + length, "PLANTED.RAN");
    HANDLE file = CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, "loaded by ", 10, &written, nullptr);
    WriteFile(file, program, static_cast<DWORD>(lstrlenA(program)), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    WriteMarker(self);
    return FALSE;
}
