// Window rectangles and the centring rule shared by every dialog.
#pragma once

#include <cstdint>

struct ScreenRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowOrigin {
    std::int32_t x, y;
};

// Top-left corner that centres a window on the screen measured at start-up (div truncates).
inline WindowOrigin CenteredOrigin(std::int32_t screenWidth, std::int32_t screenHeight, const ScreenRect& window) {
    return {screenWidth / 2 - (window.right - window.left) / 2, screenHeight / 2 - (window.bottom - window.top) / 2};
}
