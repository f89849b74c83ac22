// The vertical colour gradient of the background window. The colour does not run in proportion:
// every channel moves one unit towards the bottom colour at the same moments, once per step of
// rows, so a channel with less to travel arrives early and then stays.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/ProductConfig.h"
#include "ui/ScreenGeometry.h"

struct BackdropFill {
    ScreenRect Rect;  // right and bottom exclusive
    ColorRef Color;
};

// The fills that paint a width x height backdrop from top to bottom colour: one fill of the whole
// area when the two colours are equal, otherwise one fill per pixel row.
std::vector<BackdropFill> BackdropFills(ColorRef top, ColorRef bottom, std::int32_t width, std::int32_t height);
