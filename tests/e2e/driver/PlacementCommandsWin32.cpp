// centred NAME    the window lies in the middle of the screen: its left edge at half the screen's
//                 width less half its own width, its top likewise, both halves taken as whole
//                 pixels (integer division), as the setup program centres its dialogs
#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

std::string Point(long x, long y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

void Centred(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    args.Finish();
    RECT rect;
    if (!GetWindowRect(context.Window(name), &rect)) throw StepFailure("cannot read the rectangle of " + name);
    const long width = rect.right - rect.left, height = rect.bottom - rect.top;
    const long screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const long x = screenWidth / 2 - width / 2, y = screenHeight / 2 - height / 2;
    if (rect.left != x || rect.top != y) {
        throw StepFailure(name + " (" + std::to_string(width) + " x " + std::to_string(height) + ") lies at " +
                          Point(rect.left, rect.top) + ", the centre of a " + std::to_string(screenWidth) + " x " +
                          std::to_string(screenHeight) + " screen puts it at " + Point(x, y));
    }
}

}  // namespace

void AddPlacementCommands(CommandTable& table) { table["centred"] = Centred; }
