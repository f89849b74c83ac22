// The demo product's main program: one window saying that Quenfold is installed. On start it
// leaves the marker "Tavimore.ran" in its working directory, so that a test sees that it ran and
// where. Set TAVIMORE_CLOSE_AFTER_MS to have the window close itself, for unattended runs.
#include <windows.h>

#include <cstdlib>

namespace {

const char WindowClassName[] = "QuenfoldDemo";
const char InstalledText[] = "Quenfold is installed";
constexpr UINT_PTR CloseTimer = 1;

void WriteMarker() {
    char directory[MAX_PATH] = "";
    char program[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, directory);
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const HANDLE marker = CreateFileA("Tavimore.ran", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker == INVALID_HANDLE_VALUE) return;
    const char* const lines[] = {"Tavimore ran\r\nprogram: ", program, "\r\nworking directory: ", directory, "\r\n"};
    for (const char* line : lines) {
        DWORD written = 0;
        WriteFile(marker, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
    }
    CloseHandle(marker);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            SetBkMode(dc, TRANSPARENT);
            DrawTextA(dc, InstalledText, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_TIMER:
            if (wParam == CloseTimer) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WriteMarker();

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = WindowClassName;
    if (!RegisterClassA(&windowClass)) return 1;

    constexpr int width = 360, height = 160;
    const HWND window = CreateWindowA(WindowClassName, "Quenfold", WS_OVERLAPPEDWINDOW,
                                      (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr,
                                      instance, nullptr);
    if (!window) return 1;
    if (const char* after = std::getenv("TAVIMORE_CLOSE_AFTER_MS")) {
        SetTimer(window, CloseTimer, static_cast<UINT>(std::strtoul(after, nullptr, 10)), nullptr);
    }
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
