// Reading the progress meter of a working dialog from the screen: one row of pixels across the
// meter, each seen as the bar's done colour (red), its rest colour (white), hidden behind another
// window, or anything else. The bar is done from its left edge up to its end, rest from there on.
#pragma once

#include <string>
#include <vector>

enum class MeterPixel { Done, Rest, Hidden, Other };

// The fault of a row whose pixel i lies i pixels right of the meter's left edge, for a bar that
// ends expectedEnd pixels from that edge (its first rest pixel), give or take tolerance pixels;
// empty when the row shows that bar. Hidden pixels prove nothing either way, but the row must show
// some done pixels when the bar is longer than the tolerance, and some rest pixels when it is
// shorter than the row by more than it.
std::string MeterRowFault(const std::vector<MeterPixel>& row, int expectedEnd, int tolerance);

// Where a bar of fraction (0.33 for 33 %) ends in a meter width pixels wide, rounded as the meter
// rounds it.
int MeterBarEnd(int width, double fraction);
