#include "ui/TitleShadow.h"

#include "ui/Rounding.h"

std::int32_t TitleLuminance(ColorRef title) {
    long double luminance = 0.3L * RedOf(title);
    luminance += 0.59L * GreenOf(title);
    luminance += 0.11L * BlueOf(title);
    return RoundHalfEven(luminance);
}

ColorRef ShadowColorFor(ColorRef title) {
    return TitleLuminance(title) >= 128 ? MakeColorRef(0, 0, 0) : MakeColorRef(255, 255, 255);
}
