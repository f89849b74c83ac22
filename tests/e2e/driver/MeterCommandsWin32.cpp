// meter NAME ID PERCENT [tolerance=PX] [timeout=MS]
// meter NAME ID size-of "PATH" per TOTAL [tolerance=PX] [timeout=MS]
//     the working dialog NAME shows its progress bar, painted over its frame control ID, at
//     PERCENT, or at the share of TOTAL that the size of the file PATH makes: red from the meter's
//     left edge to the bar's end, white from there to its right edge, give or take tolerance
//     pixels (default 1 % of the meter's width and one more). Parts of the meter behind another
//     window (a disk prompt) are not looked at.
#include <utility>
#include <vector>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/MeterRow.h"
#include "tests/e2e/driver/ScreenCaptureWin32.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

constexpr Rgb kDoneColor = {255, 0, 0};
constexpr Rgb kRestColor = {255, 255, 255};

// The meter in screen coordinates, placed as the working dialog places it: from the frame
// control's rectangle relative to the dialog window, less a thin border and a caption.
struct MeterPlace {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left + 1; }
};

MeterPlace PlaceOf(HWND dialog, HWND frame) {
    RECT f, w;
    GetWindowRect(frame, &f);
    GetWindowRect(dialog, &w);
    POINT client = {0, 0};
    ClientToScreen(dialog, &client);
    const int cxBorder = GetSystemMetrics(SM_CXBORDER);
    const int cyBorder = GetSystemMetrics(SM_CYBORDER);
    const int cyCaption = GetSystemMetrics(SM_CYCAPTION);
    MeterPlace place;
    place.left = client.x + f.left - w.left - cxBorder;
    place.top = client.y + f.top - w.top - cyCaption - cyBorder;
    place.right = client.x + f.right - w.left - cxBorder - 4;
    place.bottom = client.y + f.bottom - w.top - cyCaption - cyBorder - 4;
    return place;
}

struct CoverSearch {
    HWND target;
    bool reached = false;
    std::vector<RECT> above;
};

// Top-level windows come in z-order, topmost first: those before the dialog may cover it.
BOOL CALLBACK CollectCover(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<CoverSearch*>(context);
    if (window == search->target) {
        search->reached = true;
        return FALSE;
    }
    RECT rect;
    if (IsWindowVisible(window) && GetWindowRect(window, &rect)) search->above.push_back(rect);
    return TRUE;
}

std::vector<RECT> WindowsAbove(HWND dialog) {
    CoverSearch search{dialog, false, {}};
    EnumWindows(CollectCover, reinterpret_cast<LPARAM>(&search));
    if (!search.reached) throw StepFailure("the dialog is not among the top-level windows");
    return search.above;
}

std::vector<MeterPixel> ReadRow(const MeterPlace& place, int y, const std::vector<RECT>& above) {
    ScreenImage screen = CaptureScreen();
    std::vector<MeterPixel> row;
    for (int x = place.left; x < place.right; ++x) {
        bool hidden = x < 0 || y < 0 || x >= screen.width || y >= screen.height;
        for (const RECT& rect : above) {
            POINT point = {x, y};
            hidden = hidden || PtInRect(&rect, point);
        }
        if (hidden) {
            row.push_back(MeterPixel::Hidden);
        } else if (ColorsClose(screen.At(x, y), kDoneColor, 0)) {
            row.push_back(MeterPixel::Done);
        } else if (ColorsClose(screen.At(x, y), kRestColor, 0)) {
            row.push_back(MeterPixel::Rest);
        } else {
            row.push_back(MeterPixel::Other);
        }
    }
    return row;
}

long long SizeOfFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        throw StepFailure("cannot read the size of " + path + ": error " + std::to_string(GetLastError()));
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The bar's expected share of the meter, and how a failure message names it.
std::pair<double, std::string> ReadShare(DriverContext& context, StepArgs& args) {
    if (args.TakeWord("size-of")) {
        std::string path = context.ExpandPath(args.Text("file path"));
        if (!args.TakeWord("per")) throw StepFailure("expected per TOTAL after the file");
        long total = args.Number("total");
        if (total <= 0) throw StepFailure("the total must be above 0");
        long long size = SizeOfFile(path);
        return {static_cast<double>(size) / total, std::to_string(size) + " of " + std::to_string(total)};
    }
    long percent = args.Number("percent");
    return {percent / 100.0, std::to_string(percent) + "%"};
}

void Meter(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    long id = args.Number("frame control id");
    auto [share, shown] = ReadShare(context, args);
    long tolerance = args.Option("tolerance", -1);
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    HWND dialog = context.Window(name);
    HWND frame = GetDlgItem(dialog, static_cast<int>(id));
    if (!frame) throw StepFailure("window " + name + " has no control " + std::to_string(id));

    MeterPlace place = PlaceOf(dialog, frame);
    if (tolerance < 0) tolerance = place.Width() / 100 + 1;
    const int end = MeterBarEnd(place.Width(), share);
    // The top row inside the bar's outline: the percent text, in the middle, stays below it.
    const int y = place.top + 1;
    std::string fault;
    if (!WaitFor(timeout, [&] {
            fault = MeterRowFault(ReadRow(place, y, WindowsAbove(dialog)), end, static_cast<int>(tolerance));
            return fault.empty();
        })) {
        throw StepFailure("the meter of " + name + " at row " + std::to_string(y) + " from x " +
                          std::to_string(place.left) + " does not show " + shown + ": " + fault);
    }
}

}  // namespace

void AddMeterCommands(CommandTable& table) { table["meter"] = Meter; }
