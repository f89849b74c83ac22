// Floating-point values become integers the one way the whole program uses.
#pragma once

#include <cmath>
#include <cstdint>

// Rounds to the nearest integer, a half going to the even neighbour (the default rounding mode).
inline std::int32_t RoundHalfEven(long double value) {
    return static_cast<std::int32_t>(std::nearbyintl(value));
}
