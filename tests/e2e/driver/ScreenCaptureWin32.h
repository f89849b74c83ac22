// Reading the screen: single pixels through GetPixel on the screen's device context, and the
// whole screen at once for row checks and screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/driver/PixelColor.h"

struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, red, green, blue per pixel

    Rgb At(int x, int y) const;
};

// The pixel at (x, y) of the screen; fails the step outside the screen.
Rgb ScreenPixel(int x, int y);
ScreenImage CaptureScreen();
// Writes the screen as a PNG file; fails the step when the file cannot be written.
void SaveScreenshot(const std::string& path);
