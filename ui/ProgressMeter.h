// The progress meter of the two working dialogs: a bar with a percentage, painted into the frame
// control of the dialog. The arithmetic and the decision to draw live here; the painting goes
// through a MeterCanvas that the Win32 layer provides while a working dialog has the meter open.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Rounding.h"
#include "ui/ScreenGeometry.h"

class MeterCanvas {
public:
    virtual ~MeterCanvas() = default;
    // With the done brush and pen (red).
    virtual void DoneRectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) = 0;
    // With the rest brush and pen (white).
    virtual void RestRectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) = 0;
    virtual void PercentText(std::int32_t x, std::int32_t y, const std::string& text) = 0;
};

struct ProgressMeterRecord {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::int32_t Width = 0;
    std::int32_t TextX = 0, TextY = 0;
    // Shared by both working dialogs; the volume assembly sets it to -1 before its first block.
    std::int32_t LastDrawnPercent = 0;
    MeterCanvas* Canvas = nullptr;
};

// Places the meter inside the frame control F of dialog W (window rectangles in screen
// coordinates), relative to the dialog's client area.
void SetMeterGeometry(ProgressMeterRecord& meter, const ScreenRect& frame, const ScreenRect& dialog, std::int32_t cxBorder,
                      std::int32_t cyBorder, std::int32_t cyCaption);

struct MeterReading {
    std::int32_t BarEnd;
    std::int32_t Percent;
};
MeterReading ReadMeter(const ProgressMeterRecord& meter, std::int32_t done, std::int32_t total);

// Draws the meter for done of total, only when the whole-number percent differs from the last one
// drawn and, with the cap, is at most 100. Uses the process-wide meter of SetupState.
void MeterDraw(std::int32_t done, std::int32_t total, bool cap);
