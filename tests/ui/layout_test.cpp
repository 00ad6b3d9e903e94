// The window's arithmetic: DPI scaling, the splitter's limits, where the
// controls and the window go, and the rows' colours.

#include <gtest/gtest.h>

#include "ui/dpi_win32.h"
#include "ui/log_view_win32.h"
#include "ui/main_window_layout.h"
#include "ui/splitter_win32.h"

namespace kestrin::ui {
namespace {

TEST(DpiScaling, SizesRoundLikeMulDiv) {
    EXPECT_EQ(Scale(563, 96), 563);
    EXPECT_EQ(Scale(75, 120), 94);   // 93.75
    EXPECT_EQ(Scale(75, 144), 113);  // 112.5 rounds up
    EXPECT_EQ(Scale(3, 144), 5);     // 4.5 rounds up
    EXPECT_EQ(Scale(13, 192), 26);
    EXPECT_EQ(MulDivRounded(-9, 1, 2), -5);  // halves away from zero on both sides
    for (const int dpi : {96, 120, 144, 168, 192, 240}) {
        for (const int pixels : {-33, -1, 0, 1, 13, 142, 563}) {
            EXPECT_EQ(MulDivRounded(pixels, dpi, 96), ::MulDiv(pixels, dpi, 96)) << pixels << " at " << dpi;
        }
    }
}

TEST(DpiScaling, FontHeightIsTheCharacterHeightOfEightPoints) {
    EXPECT_EQ(FontHeight(8, 96), -11);
    EXPECT_EQ(FontHeight(8, 120), -13);
    EXPECT_EQ(FontHeight(8, 144), -16);
    EXPECT_EQ(FontHeight(8, 192), -21);
}

TEST(SplitterLimits, ListStaysBetweenItsLeastHeightAndTheSpaceBelow) {
    // Client area 256 high at 96 DPI: the list may be 31 to 223.
    EXPECT_EQ(SplitterListHeight(100, 256, 96), 100);
    EXPECT_EQ(SplitterListHeight(31, 256, 96), 31);
    EXPECT_EQ(SplitterListHeight(223, 256, 96), 223);
    EXPECT_EQ(SplitterListHeight(224, 256, 96), 223);
    EXPECT_EQ(SplitterListHeight(5000, 256, 96), 223);
}

TEST(SplitterLimits, ListAtTheLeastHeightOrLowerCollapses) {
    EXPECT_EQ(SplitterListHeight(30, 256, 96), 0);
    EXPECT_EQ(SplitterListHeight(1, 256, 96), 0);
    EXPECT_EQ(SplitterListHeight(-40, 256, 96), 0);
    // A window too low for any list: it collapses whatever the drag.
    EXPECT_EQ(SplitterListHeight(50, 60, 96), 0);
}

TEST(SplitterLimits, LimitsScaleWithTheDpi) {
    // At 144 DPI: least height 45, splitter 5.
    EXPECT_EQ(SplitterListHeight(45, 384, 144), 0);
    EXPECT_EQ(SplitterListHeight(46, 384, 144), 46);
    EXPECT_EQ(SplitterListHeight(400, 384, 144), 384 - 5 - 45);
}

TEST(MainWindowLayout, FixedControlsKeepTheirPlaceAndTheListFollowsTheWidth) {
    const MainWindowLayout narrow = LayOutMainWindow(563, 142, 96);
    EXPECT_EQ(narrow.list, (Bounds{0, 0, 563, 142}));
    EXPECT_EQ(narrow.splitter, (Bounds{0, 142, 563, 3}));
    EXPECT_EQ(narrow.label1.x, 8);
    EXPECT_EQ(narrow.label1.y, 152);
    EXPECT_EQ(narrow.label2.x, 8);
    EXPECT_EQ(narrow.label2.y, 223);
    EXPECT_EQ(narrow.button1, (Bounds{447, 216, 75, 25}));
    EXPECT_EQ(narrow.button2, (Bounds{280, 218, 75, 25}));

    const MainWindowLayout wide = LayOutMainWindow(900, 60, 96);
    EXPECT_EQ(wide.list, (Bounds{0, 0, 900, 60}));
    EXPECT_EQ(wide.splitter, (Bounds{0, 60, 900, 3}));
    EXPECT_EQ(wide.button1, narrow.button1);
    EXPECT_EQ(wide.button2, narrow.button2);
}

TEST(MainWindowLayout, ScalesWithTheDpi) {
    const MainWindowLayout layout = LayOutMainWindow(845, 213, 144);
    EXPECT_EQ(layout.splitter, (Bounds{0, 213, 845, 5}));
    EXPECT_EQ(layout.button1, (Bounds{671, 324, 113, 38}));
    EXPECT_EQ(layout.label2.y, 335);
}

TEST(WindowPlacement, CentredOnTheWholeDesktopButNeverBeforeItsCorner) {
    EXPECT_EQ(CentredOnDesktop({0, 0, 1024, 768}, {579, 295}).x, 222);
    EXPECT_EQ(CentredOnDesktop({0, 0, 1024, 768}, {579, 295}).y, 236);
    // A second monitor to the left of the primary one.
    const POINT twoMonitors = CentredOnDesktop({-1920, 0, 1920, 1080}, {600, 300});
    EXPECT_EQ(twoMonitors.x, -300);
    EXPECT_EQ(twoMonitors.y, 390);
    // Larger than the desktop: its corner, not beyond.
    const POINT tooLarge = CentredOnDesktop({-100, -50, 400, 250}, {800, 600});
    EXPECT_EQ(tooLarge.x, -100);
    EXPECT_EQ(tooLarge.y, -50);
}

TEST(RowColours, FollowThePosition) {
    EXPECT_EQ(RowColour(1), 0x00CF9030u);
    EXPECT_EQ(RowColour(2), 0x00518150u);
    EXPECT_EQ(RowColour(3), 0x004EB6CFu);
    const std::uint32_t other = RowColour(0);
    EXPECT_EQ(RowColour(4), other);
    EXPECT_EQ(RowColour(5000), other);
    // White text must stay readable: a dark colour.
    const auto channel = [other](int shift) { return static_cast<int>((other >> shift) & 0xFF); };
    EXPECT_LT(channel(0) * 299 + channel(8) * 587 + channel(16) * 114, 100 * 1000);
}

}  // namespace
}  // namespace kestrin::ui
