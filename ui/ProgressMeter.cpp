#include "ui/ProgressMeter.h"

#include "setup/SetupState.h"

void SetMeterGeometry(ProgressMeterRecord& meter, const ScreenRect& frame, const ScreenRect& dialog, std::int32_t cxBorder,
                      std::int32_t cyBorder, std::int32_t cyCaption) {
    meter.Left = frame.left - dialog.left - cxBorder;
    meter.Top = frame.top - dialog.top - cyCaption - cyBorder;
    meter.Right = frame.right - dialog.left - cxBorder - 4;
    meter.Bottom = frame.bottom - dialog.top - cyCaption - cyBorder - 4;
    meter.TextX = (meter.Right - meter.Left) / 2 + meter.Left - 10;
    meter.TextY = (meter.Bottom - meter.Top) / 2 + meter.Top - 8;
    meter.Width = meter.Right - meter.Left + 1;
}

MeterReading ReadMeter(const ProgressMeterRecord& meter, std::int32_t done, std::int32_t total) {
    const long double fraction = static_cast<long double>(done) / static_cast<long double>(total);
    return {RoundHalfEven(meter.Left + fraction * meter.Width), RoundHalfEven(fraction * 100)};
}

void MeterDraw(std::int32_t done, std::int32_t total, bool cap) {
    ProgressMeterRecord& meter = SetupState.ProgressMeter;
    const MeterReading reading = ReadMeter(meter, done, total);
    if (reading.Percent == meter.LastDrawnPercent || (cap && reading.Percent > 100)) return;
    if (meter.Canvas) meter.Canvas->DoneRectangle(meter.Left, meter.Top, reading.BarEnd, meter.Bottom);
    meter.LastDrawnPercent = reading.Percent;
    if (meter.Canvas) {
        meter.Canvas->RestRectangle(reading.BarEnd, meter.Top, meter.Right, meter.Bottom);
        meter.Canvas->PercentText(meter.TextX, meter.TextY, std::to_string(reading.Percent) + "%");
    }
}
