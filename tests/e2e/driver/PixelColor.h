// A screen colour and the tolerance check of the pixel steps: the virtual screen may round a
// colour by a unit or two, so a step names how far each channel may be off.
#pragma once

#include <string>

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// True when every channel of a lies within tolerance of the same channel of b.
bool ColorsClose(Rgb a, Rgb b, int tolerance);
// "(r, g, b)" for failure messages.
std::string DescribeRgb(Rgb color);
