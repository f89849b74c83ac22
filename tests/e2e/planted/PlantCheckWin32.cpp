// The control for the DLL planting scenario: a program that leaves the DLL search as it is and
// opens a window, as the setup program does, so that the system loads the DLLs that windows need
// on demand. Started from a folder with a planted DLL, it shows where such a DLL comes from
// without the setup program's restriction. It waits in a box captioned "Plant check" so that its
// modules can be looked at. Exit status 0 when the window was made.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "PlantCheck";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowA("PlantCheck", "Plant check", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MessageBoxA(window, "The window is open.", "Plant check", MB_OK);
    DestroyWindow(window);
    return 0;
}
