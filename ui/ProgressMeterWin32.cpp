#include "ui/ProgressMeterWin32.h"

#include <optional>

#include "setup/SetupState.h"
#include "ui/DialogControlIds.h"
#include "ui/DialogHelpersWin32.h"
#include "ui/GdiGuardsWin32.h"
#include "ui/ProgressMeter.h"

namespace {

constexpr COLORREF DoneColor = RGB(255, 0, 0);
constexpr COLORREF RestColor = RGB(255, 255, 255);

// The members are declared so that their destruction is the closing order: the font put back and
// deleted, the pen then the brush put back, the pens and brushes deleted, the context released.
class GdiMeterCanvas final : public MeterCanvas {
public:
    explicit GdiMeterCanvas(HWND dialog) : dc_(dialog) {}

    void SelectDrawingTools() {
        donePen_ = GdiObject(CreatePen(PS_SOLID, 1, DoneColor));
        restPen_ = GdiObject(CreatePen(PS_SOLID, 1, RestColor));
        penSelection_ = SelectedObject(dc_.Get(), donePen_.Get());
        doneBrush_ = GdiObject(CreateSolidBrush(DoneColor));
        restBrush_ = GdiObject(CreateSolidBrush(RestColor));
        brushSelection_ = SelectedObject(dc_.Get(), doneBrush_.Get());
    }

    void SelectTextTools() {
        SetBkMode(dc_.Get(), TRANSPARENT);
        font_ = GdiObject(CreateFontA(16, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial"));
        fontSelection_ = SelectedObject(dc_.Get(), font_.Get());
        SetTextColor(dc_.Get(), RGB(0, 0, 0));
    }

    void DoneRectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override {
        SelectObject(dc_.Get(), doneBrush_.Get());
        SelectObject(dc_.Get(), donePen_.Get());
        Rectangle(dc_.Get(), left, top, right, bottom);
    }

    void RestRectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override {
        SelectObject(dc_.Get(), restBrush_.Get());
        SelectObject(dc_.Get(), restPen_.Get());
        Rectangle(dc_.Get(), left, top, right, bottom);
    }

    void PercentText(std::int32_t x, std::int32_t y, const std::string& text) override {
        TextOutA(dc_.Get(), x, y, text.c_str(), static_cast<int>(text.size()));
    }

private:
    WindowDC dc_;
    GdiObject restBrush_, doneBrush_, restPen_, donePen_;
    SelectedObject brushSelection_, penSelection_;
    GdiObject font_;
    SelectedObject fontSelection_;
};

// The meter of the one working dialog that is open; empty between the two.
std::optional<GdiMeterCanvas> OpenMeter;

}  // namespace

void MeterOpen(HWND dialog) {
    GdiMeterCanvas& canvas = OpenMeter.emplace(dialog);
    RECT frame, window;
    GetWindowRect(GetDlgItem(dialog, MeterFrameControl), &frame);
    GetWindowRect(dialog, &window);
    SetMeterGeometry(SetupState.ProgressMeter, ToScreenRect(frame), ToScreenRect(window), GetSystemMetrics(SM_CXBORDER),
                     GetSystemMetrics(SM_CYBORDER), GetSystemMetrics(SM_CYCAPTION));
    canvas.SelectDrawingTools();
    // The geometry is relative to the dialog, so it stays valid when the dialog moves.
    PlaceAtScreenCentre(dialog, window);
    SetupState.ContinueFlag = 1;
    canvas.SelectTextTools();
    SetupState.ProgressMeter.Canvas = &canvas;
}

void MeterClose(HWND) {
    SetupState.ProgressMeter.Canvas = nullptr;
    OpenMeter.reset();
}
