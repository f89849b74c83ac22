#include "ui/BackdropGradient.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::uint8_t StepTowards(std::uint8_t channel, std::uint8_t target) {
    if (channel < target) return static_cast<std::uint8_t>(std::min(255, channel + 1));
    if (channel > target) return static_cast<std::uint8_t>(std::max(0, channel - 1));
    return channel;
}

}  // namespace

std::vector<BackdropFill> BackdropFills(ColorRef top, ColorRef bottom, std::int32_t width, std::int32_t height) {
    std::uint8_t r = RedOf(top), g = GreenOf(top), b = BlueOf(top);
    const std::uint8_t tr = RedOf(bottom), tg = GreenOf(bottom), tb = BlueOf(bottom);
    const int steps = std::max({std::abs(r - tr), std::abs(g - tg), std::abs(b - tb)});
    if (steps == 0) return {{{0, 0, width, height}, top}};

    // Below `steps` rows this is 0, and the colour then changes on every row.
    const std::int32_t rowsPerStep = height / steps;
    std::vector<BackdropFill> fills;
    fills.reserve(static_cast<std::size_t>(std::max(height, 0)));
    std::int32_t rowCounter = 0;
    for (std::int32_t y = 0; y < height; ++y) {
        fills.push_back({{0, y, width, y + 1}, MakeColorRef(r, g, b)});
        if (++rowCounter >= rowsPerStep) {
            rowCounter = 0;
            r = StepTowards(r, tr);
            g = StepTowards(g, tg);
            b = StepTowards(b, tb);
        }
    }
    return fills;
}
