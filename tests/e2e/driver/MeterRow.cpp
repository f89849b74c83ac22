#include "tests/e2e/driver/MeterRow.h"

#include <cmath>

std::string MeterRowFault(const std::vector<MeterPixel>& row, int expectedEnd, int tolerance) {
    const int width = static_cast<int>(row.size());
    int doneSeen = 0, restSeen = 0;
    for (int i = 0; i < width; ++i) {
        const std::string where = "pixel " + std::to_string(i) + " of the meter";
        switch (row[i]) {
            case MeterPixel::Done:
                if (i >= expectedEnd + tolerance) return where + " is red, past the bar's end at " + std::to_string(expectedEnd);
                ++doneSeen;
                break;
            case MeterPixel::Rest:
                if (i < expectedEnd - tolerance) return where + " is white, before the bar's end at " + std::to_string(expectedEnd);
                ++restSeen;
                break;
            case MeterPixel::Other:
                return where + " is neither red nor white";
            case MeterPixel::Hidden:
                break;
        }
    }
    if (doneSeen == 0 && expectedEnd > tolerance) return "no red pixel of the bar is to be seen";
    if (restSeen == 0 && expectedEnd < width - tolerance) return "no white pixel of the meter's rest is to be seen";
    return {};
}

int MeterBarEnd(int width, double fraction) {
    // The meter rounds half to even, as the default floating-point rounding does.
    return static_cast<int>(std::nearbyint(width * fraction));
}
