#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/SetupState.h"
#include "tests/support/RecordingCanvas.h"
#include "ui/ProgressMeter.h"

namespace {

// A meter from Left 10 to Right 109 (Width 100), Top 20, Bottom 30, text at (50, 17).
class MeterDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgressMeterRecord& meter = SetupState.ProgressMeter;
        meter = {};
        meter.Left = 10, meter.Top = 20, meter.Right = 109, meter.Bottom = 30, meter.Width = 100;
        meter.TextX = 50, meter.TextY = 17;
        meter.LastDrawnPercent = -1;
        meter.Canvas = &canvas;
    }
    void TearDown() override { SetupState.ProgressMeter.Canvas = nullptr; }

    std::vector<std::string> Draw(std::int32_t done, std::int32_t total, bool cap) {
        canvas.Calls.clear();
        MeterDraw(done, total, cap);
        return canvas.Calls;
    }

    RecordingCanvas canvas;
};

using Calls = std::vector<std::string>;

TEST(MeterGeometry, PlacesTheMeterInsideTheFrameRelativeToTheClientArea) {
    ProgressMeterRecord meter;
    // Frame and dialog window rectangles in screen coordinates; border 1, caption 18.
    SetMeterGeometry(meter, {125, 260, 371, 281}, {100, 200, 400, 330}, 1, 1, 18);
    EXPECT_EQ(meter.Left, 24);
    EXPECT_EQ(meter.Top, 41);
    EXPECT_EQ(meter.Right, 266);
    EXPECT_EQ(meter.Bottom, 58);
    EXPECT_EQ(meter.Width, 243);
    EXPECT_EQ(meter.TextX, 135);
    EXPECT_EQ(meter.TextY, 41);  // (58 - 41) div 2 truncates to 8
}

TEST_F(MeterDrawTest, DrawsDonePartThenRestThenPercent) {
    EXPECT_EQ(Draw(57, 100, false), (Calls{"done 10 20 67 30", "rest 67 20 109 30", "text 50 17 57%"}));
    EXPECT_EQ(SetupState.ProgressMeter.LastDrawnPercent, 57);
}

TEST_F(MeterDrawTest, ZeroPercentHasAnEmptyDoneBarAndFullPercentEndsPastRight) {
    EXPECT_EQ(Draw(0, 3200000, false), (Calls{"done 10 20 10 30", "rest 10 20 109 30", "text 50 17 0%"}));
    EXPECT_EQ(Draw(3200000, 3200000, true), (Calls{"done 10 20 110 30", "rest 110 20 109 30", "text 50 17 100%"}));
}

TEST_F(MeterDrawTest, PercentAndBarEndRoundHalfToEven) {
    struct Case {
        std::int32_t done, total;
        std::string text;
        std::int32_t barEnd;
    };
    const Case cases[] = {
        {1, 40, "2%", 12},     // 2.5 % shows 2 %
        {1, 8, "12%", 22},     // 12.5 -> 12; bar end 22.5 -> 22
        {3, 8, "38%", 48},     // 37.5 -> 38; bar end 47.5 -> 48
        {5, 8, "62%", 72},     // 62.5 -> 62; bar end 72.5 -> 72
        {2, 3, "67%", 77},     // 66.67 -> 67; bar end 76.67 -> 77
    };
    for (const Case& c : cases) {
        SetupState.ProgressMeter.LastDrawnPercent = -1;
        const Calls calls = Draw(c.done, c.total, false);
        ASSERT_EQ(calls.size(), 3u) << c.done << "/" << c.total;
        EXPECT_EQ(calls[0], "done 10 20 " + std::to_string(c.barEnd) + " 30") << c.done << "/" << c.total;
        EXPECT_EQ(calls[2], "text 50 17 " + c.text) << c.done << "/" << c.total;
    }
}

TEST_F(MeterDrawTest, UnchangedPercentDrawsNothing) {
    Draw(32000, 3200000, false);
    EXPECT_TRUE(Draw(33000, 3200000, false).empty());  // 1.03 % is still 1 %
    EXPECT_EQ(Draw(48000, 3200000, false).size(), 3u);  // 1.5 % rounds to 2 %
}

TEST_F(MeterDrawTest, CapAbove100DrawsNothingAndKeepsTheLastPercent) {
    Draw(3200000, 3200000, true);
    EXPECT_TRUE(Draw(3232000, 3200000, true).empty());  // 101 %
    EXPECT_TRUE(Draw(6400000, 3200000, true).empty());
    EXPECT_EQ(SetupState.ProgressMeter.LastDrawnPercent, 100);
    // Without the cap the value is drawn as it is, the bar reaching past Right.
    EXPECT_EQ(Draw(3328000, 3200000, false), (Calls{"done 10 20 114 30", "rest 114 20 109 30", "text 50 17 104%"}));
}

TEST_F(MeterDrawTest, FirstDrawingOfTheNextDialogIsSkippedWhenItsPercentWasTheLastDrawn) {
    Draw(3200000, 3200000, true);  // the assembly ends at 100 %
    EXPECT_TRUE(Draw(1000, 1000, false).empty());
    EXPECT_EQ(Draw(990, 1000, false).back(), "text 50 17 99%");
}

}  // namespace
