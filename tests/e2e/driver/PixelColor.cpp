#include "tests/e2e/driver/PixelColor.h"

#include <cstdlib>

bool ColorsClose(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

std::string DescribeRgb(Rgb color) {
    return "(" + std::to_string(color.red) + ", " + std::to_string(color.green) + ", " +
           std::to_string(color.blue) + ")";
}
