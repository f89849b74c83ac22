#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "setup/ProductConfig.h"
#include "ui/BackdropGradient.h"
#include "ui/TitleShadow.h"

namespace {

const ColorRef Blue = MakeColorRef(0, 0, 255);
const ColorRef Black = MakeColorRef(0, 0, 0);

// The first row painted in `color`, or -1.
std::int32_t FirstRowOf(const std::vector<BackdropFill>& fills, ColorRef color) {
    for (const BackdropFill& fill : fills)
        if (fill.Color == color) return fill.Rect.top;
    return -1;
}

TEST(BackdropGradient, PaintsOneFullWidthFillPerRowFromTopToBottom) {
    const auto fills = BackdropFills(Blue, Black, 1024, 768);
    ASSERT_EQ(fills.size(), 768u);
    for (std::int32_t y = 0; y < 768; ++y) {
        const ScreenRect& rect = fills[y].Rect;
        ASSERT_TRUE(rect.left == 0 && rect.top == y && rect.right == 1024 && rect.bottom == y + 1) << "row " << y;
    }
}

struct RowCase {
    const char* name;
    ColorRef top, bottom;
    std::int32_t height;
    std::int32_t row;
    ColorRef expected;
};

const RowCase kRowCases[] = {
    // Blue to black over 768 rows: three rows a step, black reached at row 765.
    {"1024x768 row 0", Blue, Black, 768, 0, Blue},
    {"1024x768 row 2", Blue, Black, 768, 2, Blue},
    {"1024x768 row 3", Blue, Black, 768, 3, MakeColorRef(0, 0, 254)},
    {"1024x768 row 764", Blue, Black, 768, 764, MakeColorRef(0, 0, 1)},
    {"1024x768 row 765", Blue, Black, 768, 765, Black},
    {"1024x768 row 767", Blue, Black, 768, 767, Black},
    {"800x600 row 509", Blue, Black, 600, 509, MakeColorRef(0, 0, 1)},
    {"800x600 row 599", Blue, Black, 600, 599, Black},
    {"640x480 row 254", Blue, Black, 480, 254, MakeColorRef(0, 0, 1)},
    // Fewer rows than steps: the colour changes on every row and never arrives.
    {"height 200 row 1", Blue, Black, 200, 1, MakeColorRef(0, 0, 254)},
    {"height 200 row 199", Blue, Black, 200, 199, MakeColorRef(0, 0, 56)},
    // Green 200 to red 100 over 400 rows (two rows a step): red stops at 100, green goes on.
    {"green to red row 0", MakeColorRef(0, 200, 0), MakeColorRef(100, 0, 0), 400, 0, MakeColorRef(0, 200, 0)},
    {"green to red row 3", MakeColorRef(0, 200, 0), MakeColorRef(100, 0, 0), 400, 3, MakeColorRef(1, 199, 0)},
    {"green to red row 200", MakeColorRef(0, 200, 0), MakeColorRef(100, 0, 0), 400, 200, MakeColorRef(100, 100, 0)},
    {"green to red row 300", MakeColorRef(0, 200, 0), MakeColorRef(100, 0, 0), 400, 300, MakeColorRef(100, 50, 0)},
    {"green to red row 399", MakeColorRef(0, 200, 0), MakeColorRef(100, 0, 0), 400, 399, MakeColorRef(100, 1, 0)},
    // Channels move the other way too, and only up to their target.
    {"black to grey row 40", Black, MakeColorRef(30, 60, 90), 90, 40, MakeColorRef(30, 40, 40)},
};

TEST(BackdropGradient, RowColoursFollowTheStepRule) {
    for (const RowCase& c : kRowCases) {
        const auto fills = BackdropFills(c.top, c.bottom, 640, c.height);
        ASSERT_EQ(fills.size(), static_cast<std::size_t>(c.height)) << c.name;
        EXPECT_EQ(fills[c.row].Color, c.expected) << c.name;
    }
}

TEST(BackdropGradient, BottomColourIsReachedAtTheExpectedRow) {
    EXPECT_EQ(FirstRowOf(BackdropFills(Blue, Black, 1024, 768), Black), 765);
    EXPECT_EQ(FirstRowOf(BackdropFills(Blue, Black, 800, 600), Black), 510);
    EXPECT_EQ(FirstRowOf(BackdropFills(Blue, Black, 640, 480), Black), 255);
    EXPECT_EQ(FirstRowOf(BackdropFills(Blue, Black, 320, 200), Black), -1);
}

TEST(BackdropGradient, EqualColoursGiveOneFillOfTheWholeArea) {
    const ColorRef teal = MakeColorRef(0, 128, 128);
    const auto fills = BackdropFills(teal, teal, 1024, 768);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Color, teal);
    const ScreenRect& rect = fills[0].Rect;
    EXPECT_TRUE(rect.left == 0 && rect.top == 0 && rect.right == 1024 && rect.bottom == 768);
}

struct ShadowCase {
    std::uint8_t r, g, b;
    std::int32_t luminance;
    ColorRef shadow;
};

const ShadowCase kShadowCases[] = {
    {255, 255, 0, 227, Black},                     // the shipped yellow title
    {0, 0, 255, 28, MakeColorRef(255, 255, 255)},  // a blue title
    {128, 128, 128, 128, Black},
    {127, 127, 127, 127, MakeColorRef(255, 255, 255)},
    // 127.5 in decimal, just below it in extended arithmetic: rounds down, white shadow.
    {0, 212, 22, 127, MakeColorRef(255, 255, 255)},
    {255, 255, 255, 255, Black},
    {0, 0, 0, 0, MakeColorRef(255, 255, 255)},
};

TEST(TitleShadow, LuminanceDecidesBetweenBlackAndWhite) {
    for (const ShadowCase& c : kShadowCases) {
        const ColorRef title = MakeColorRef(c.r, c.g, c.b);
        EXPECT_EQ(TitleLuminance(title), c.luminance) << int(c.r) << "," << int(c.g) << "," << int(c.b);
        EXPECT_EQ(ShadowColorFor(title), c.shadow) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
}

}  // namespace
