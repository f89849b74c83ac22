#include "ui/BackgroundWindowWin32.h"

#include <string>

#include "setup/FailureReport.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "ui/BackdropGradient.h"
#include "ui/GdiGuardsWin32.h"
#include "ui/TitleShadow.h"

namespace {

constexpr char BackgroundClassName[] = "MVSetUp";
constexpr int LogoWidth = 204;
constexpr int LogoHeight = 66;

COLORREF ToColorref(ColorRef color) {
    return RGB(RedOf(color), GreenOf(color), BlueOf(color));
}

GdiObject CreateTextFont(int height, int weight, bool italic, const char* face) {
    return GdiObject(CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, 0, 0, 0, 0, 0, face));
}

void OutputText(HDC dc, int x, int y, const std::string& text) {
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void PaintGradient(HDC dc, int width, int height) {
    for (const BackdropFill& fill : BackdropFills(ProductConfig.GradientTopColor, ProductConfig.GradientBottomColor,
                                                  width, height)) {
        const RECT rect{fill.Rect.left, fill.Rect.top, fill.Rect.right, fill.Rect.bottom};
        GdiObject brush(CreateSolidBrush(ToColorref(fill.Color)));
        FillRect(dc, &rect, static_cast<HBRUSH>(brush.Get()));
    }
}

void PaintBanner(HDC dc) {
    GdiObject font = CreateTextFont(44, 900, true, "Times New Roman");
    SelectedObject selection(dc, font.Get());
    SetTextColor(dc, ToColorref(ShadowColorFor(ProductConfig.TitleColor)));
    OutputText(dc, 24, 28, ProductConfig.BannerTitle);
    SetTextColor(dc, ToColorref(ProductConfig.TitleColor));
    OutputText(dc, 22, 25, ProductConfig.BannerTitle);
}

void PaintLogo(HDC dc, int width, int height) {
    MemoryDC memory(dc);
    SelectedObject selection(memory.Get(), static_cast<HGDIOBJ>(SetupState.LogoBitmap));
    BitBlt(dc, width / 2 - LogoWidth / 2, height - 72, LogoWidth, LogoHeight, memory.Get(), 0, 0, SRCCOPY);
}

// Drawn in the text colour the banner left behind, which is the title colour.
void PaintCopyright(HDC dc, int width, int height) {
    GdiObject font = CreateTextFont(12, 900, false, "Small");
    SelectedObject selection(dc, font.Get());
    OutputText(dc, width - 250, height - 20, ProductConfig.CopyrightLine);
}

}  // namespace

void CreateBackgroundWindow() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = BackgroundWndProc;
    windowClass.hInstance = instance;
    // No background brush: the erase that the default paint processing asks for then leaves the
    // picture PaintBackground has just drawn alone.
    windowClass.lpszClassName = BackgroundClassName;
    RegisterClassA(&windowClass);

    SetupState.BackgroundWindow =
        CreateWindowExA(0, BackgroundClassName, "Installation", WS_POPUP | WS_VISIBLE, 0, 0, SetupState.ScreenWidth,
                        SetupState.ScreenHeight, nullptr, nullptr, instance, nullptr);
    SetupState.LogoBitmap = LoadBitmapA(instance, "logo");
}

LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    GuardFailures([&] {
        switch (message) {
            case WM_PAINT:
                PaintBackground();
                break;
            case WM_CLOSE:
            case WM_DESTROY:
                PostMessageA(window, WM_QUIT, 0, 0);
                break;
        }
    });
    // Also for WM_PAINT: the default processing validates the window, so the paint is not repeated.
    return DefWindowProcA(window, message, wParam, lParam);
}

void PaintBackground() {
    const int width = SetupState.ScreenWidth;
    const int height = SetupState.ScreenHeight;
    WindowDC dc(static_cast<HWND>(SetupState.BackgroundWindow));
    PaintGradient(dc.Get(), width, height);
    SetBkMode(dc.Get(), TRANSPARENT);
    PaintBanner(dc.Get());
    PaintLogo(dc.Get(), width, height);
    PaintCopyright(dc.Get(), width, height);
}
