// The banner title's drop shadow: black under a light title, white under a dark one.
#pragma once

#include <cstdint>

#include "setup/ProductConfig.h"

// 0.3 R + 0.59 G + 0.11 B in 80-bit extended arithmetic, summed in that order and rounded half to
// even. The order and the precision decide the borderline cases: red 0, green 212, blue 22 sums to
// 127.5 in decimal but to just below it here.
std::int32_t TitleLuminance(ColorRef title);

ColorRef ShadowColorFor(ColorRef title);
