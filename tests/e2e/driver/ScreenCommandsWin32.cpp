// pixel X Y R G B [tolerance=N]              waits until the screen pixel has that colour
// pixel-near X Y W H R G B [tolerance=N]     waits until some pixel of the area has it
// pixel-rows Y0 Y1 R G B [tolerance=N]       every pixel of rows Y0 to Y1 has it
// screenshot NAME                            writes the screen to NAME.png in the shots folder
#include <cstdio>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/ScreenCaptureWin32.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

std::string Point(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

Rgb ReadColor(StepArgs& args) {
    Rgb color;
    color.red = static_cast<int>(args.Number("red"));
    color.green = static_cast<int>(args.Number("green"));
    color.blue = static_cast<int>(args.Number("blue"));
    return color;
}

// Pixels are waited for because the program paints after its window appears.
void Pixel(DriverContext&, StepArgs& args) {
    int x = static_cast<int>(args.Number("x"));
    int y = static_cast<int>(args.Number("y"));
    Rgb expected = ReadColor(args);
    int tolerance = static_cast<int>(args.Option("tolerance", 0));
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    Rgb actual;
    if (!WaitFor(timeout, [&] {
            actual = ScreenPixel(x, y);
            return ColorsClose(actual, expected, tolerance);
        })) {
        throw StepFailure("pixel " + Point(x, y) + " is " + DescribeRgb(actual) + ", expected " +
                          DescribeRgb(expected));
    }
}

void PixelNear(DriverContext&, StepArgs& args) {
    int left = static_cast<int>(args.Number("x"));
    int top = static_cast<int>(args.Number("y"));
    int width = static_cast<int>(args.Number("width"));
    int height = static_cast<int>(args.Number("height"));
    Rgb expected = ReadColor(args);
    int tolerance = static_cast<int>(args.Option("tolerance", 0));
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    if (!WaitFor(timeout, [&] {
            for (int y = top; y < top + height; ++y) {
                for (int x = left; x < left + width; ++x) {
                    if (ColorsClose(ScreenPixel(x, y), expected, tolerance)) return true;
                }
            }
            return false;
        })) {
        throw StepFailure("no pixel of the " + std::to_string(width) + " x " + std::to_string(height) +
                          " area at " + Point(left, top) + " is " + DescribeRgb(expected));
    }
}

// The first pixel of rows first to last that is not close to expected, or empty.
std::string RowMismatch(const ScreenImage& screen, int first, int last, Rgb expected, int tolerance) {
    if (first < 0 || last >= screen.height || first > last) {
        throw StepFailure("rows " + std::to_string(first) + " to " + std::to_string(last) + " are not on a screen " +
                          std::to_string(screen.height) + " rows high");
    }
    for (int y = first; y <= last; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            Rgb actual = screen.At(x, y);
            if (!ColorsClose(actual, expected, tolerance)) {
                return "pixel " + Point(x, y) + " is " + DescribeRgb(actual) + ", expected " + DescribeRgb(expected);
            }
        }
    }
    return {};
}

void PixelRows(DriverContext&, StepArgs& args) {
    int first = static_cast<int>(args.Number("first row"));
    int last = static_cast<int>(args.Number("last row"));
    Rgb expected = ReadColor(args);
    int tolerance = static_cast<int>(args.Option("tolerance", 0));
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    std::string mismatch;
    if (!WaitFor(timeout, [&] {
            mismatch = RowMismatch(CaptureScreen(), first, last, expected, tolerance);
            return mismatch.empty();
        })) {
        throw StepFailure(mismatch);
    }
}

void Screenshot(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("picture name");
    args.Finish();
    if (context.shotsDir.empty()) {
        std::printf("     (no shots folder given: %s.png not written)\n", name.c_str());
        return;
    }
    SaveScreenshot(context.shotsDir + "\\" + name + ".png");
}

}  // namespace

void AddScreenCommands(CommandTable& table) {
    table["pixel"] = Pixel;
    table["pixel-near"] = PixelNear;
    table["pixel-rows"] = PixelRows;
    table["screenshot"] = Screenshot;
}
