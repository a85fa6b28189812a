// The deviation and level indicators and the separator line, read back from the screen.
#include "classlib/win/CRect.h"
#include "forms/CDeviationIndicator.h"
#include "forms/CLevelIndicator.h"
#include "forms/CSeparatorLine.h"
#include "tests/forms/ControlTestSupport.h"

#include <windows.h>

#include <limits>

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 90;
constexpr int kHeight = 101;
constexpr int kBarWidth = 10;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The bar's inside: the pushed and checked frame at the right edge, shrunk.
RECT BarInside() {
    return FrameInside(RECT{kWidth - kBarWidth, 0, kWidth, kHeight}, DFCS_BUTTONPUSH | DFCS_CHECKED);
}

int BarX() {
    const RECT inside = BarInside();
    return (inside.left + inside.right) / 2;
}

class ScaleIndicatorTest : public ::testing::Test {
protected:
    CTestParentWnd m_parent;
};

}  // namespace

TEST_F(ScaleIndicatorTest, DeviationBarGrowsFromTheMiddleAndClipsAtTheInside) {
    CDeviationIndicator indicator;
    ASSERT_TRUE(indicator.Create("", WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_parent, 501));
    indicator.SetScale(-1.0, 1.0, 1, "%", kRed, kBlue);
    const RECT inside = BarInside();
    const int middle = kHeight / 2;

    struct ValueCase {
        double value;
        COLORREF above;  // just above the middle line
        COLORREF below;  // just below it
        bool aboveIsFill;
        bool belowIsFill;
    };

    const ValueCase cases[] = {
        {0.5, kRed, kBlue, true, false},
        {0.0, kRed, kBlue, false, false},
        {-0.5, kRed, kBlue, false, true},
    };
    for (const ValueCase& c : cases) {
        indicator.SetValue(c.value);
        const CCapturedPixels pixels(indicator.GetSafeHwnd());
        EXPECT_EQ(c.aboveIsFill, pixels.At(BarX(), middle - 2) == c.above) << c.value;
        EXPECT_EQ(c.belowIsFill, pixels.At(BarX(), middle + 2) == c.below) << c.value;
        EXPECT_EQ(kBlack, pixels.At(BarX(), middle)) << "middle line at " << c.value;
    }
    indicator.SetValue(5.0);
    EXPECT_EQ(kRed, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.top));
    indicator.SetValue(-5.0);
    EXPECT_EQ(kBlue, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.bottom - 1));
    // Far beyond any pixel count the bar still ends at the inside.
    indicator.SetValue(1e300);
    EXPECT_EQ(kRed, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.top));
    indicator.SetValue(-1e300);
    EXPECT_EQ(kBlue, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.bottom - 1));
    // A value of half the upper range ends in a line a quarter of the inside above the middle.
    indicator.SetValue(0.5);
    const int extent = static_cast<int>(0.5 * (inside.bottom - inside.top + 1) / 2.0);
    const CCapturedPixels half(indicator.GetSafeHwnd());
    EXPECT_EQ(kBlack, half.At(BarX(), (inside.bottom - inside.top) / 2 - extent));
    EXPECT_EQ(kRed, half.At(BarX(), (inside.bottom - inside.top) / 2 - extent + 1));
}

TEST_F(ScaleIndicatorTest, DisabledOrEmptyScaleDrawsNoBar) {
    CDeviationIndicator indicator;
    ASSERT_TRUE(indicator.Create("", WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_parent, 501));
    indicator.SetValue(0.9);
    EXPECT_EQ(kRed, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), kHeight / 2 - 2));
    indicator.EnableWindow(FALSE);
    EXPECT_NE(kRed, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), kHeight / 2 - 2));
    indicator.EnableWindow(TRUE);
    indicator.SetValue(std::numeric_limits<double>::quiet_NaN());
    const COLORREF undefined = CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), kHeight / 2 - 2);
    EXPECT_TRUE(undefined != kRed && undefined != kBlue);
    indicator.SetScale(1.0, 1.0, 2, "", kRed, kBlue);
    indicator.SetValue(2.0);
    EXPECT_NE(kRed, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), kHeight / 2 - 2));
}

TEST_F(ScaleIndicatorTest, LevelBarTakesTheColourOfItsRangeWithLimitsInRange) {
    CLevelIndicator indicator;
    ASSERT_TRUE(indicator.Create("", WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_parent, 502));
    const RECT inside = BarInside();

    struct LevelCase {
        double value;
        COLORREF expected;
    };

    const LevelCase cases[] = {
        {0.2, kBlue}, {0.33, kGreen}, {0.5, kGreen}, {0.66, kGreen}, {0.8, kRed}, {1.5, kRed},
    };
    for (const LevelCase& c : cases) {
        indicator.SetValue(c.value);
        EXPECT_EQ(c.expected, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.bottom - 2))
            << c.value;
    }
    indicator.SetValue(1.5);
    EXPECT_EQ(kRed, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.top));
    indicator.SetValue(0.0);
    const COLORREF empty = CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.bottom - 2);
    EXPECT_TRUE(empty != kBlue && empty != kGreen && empty != kRed);
    indicator.SetValue(0.5);
    indicator.EnableWindow(FALSE);
    EXPECT_NE(kGreen, CCapturedPixels(indicator.GetSafeHwnd()).At(BarX(), inside.bottom - 2));
}

TEST_F(ScaleIndicatorTest, LevelLimitsAreDashedFiveOnFourOff) {
    CLevelIndicator indicator;
    ASSERT_TRUE(indicator.Create("", WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_parent, 502));
    indicator.SetValue(0.0);
    const RECT inside = BarInside();
    const int height = inside.bottom - inside.top + 1;
    const int lowRow = inside.bottom - static_cast<int>(height * 0.33);
    const CCapturedPixels pixels(indicator.GetSafeHwnd());
    for (int x = inside.left; x < inside.right; ++x) {
        const bool dash = (x - inside.left) % 9 < 5;
        EXPECT_EQ(dash, pixels.At(x, lowRow) == kBlack) << "x " << x - inside.left;
    }
}

TEST_F(ScaleIndicatorTest, SeparatorIsAShadowLineOverAHighlightLine) {
    CSeparatorLine horizontal;
    ASSERT_TRUE(horizontal.Create("", WS_VISIBLE, CRect(0, 0, 100, 10), &m_parent, 503));
    const CCapturedPixels across(horizontal.GetSafeHwnd());
    for (const int x : {0, 50, 99}) {
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), across.At(x, 4));
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), across.At(x, 5));
    }
    CSeparatorLine vertical;
    vertical.SetOrientation(CSeparatorLine::kVertical);
    vertical.SetColors(kRed, kBlue);
    ASSERT_TRUE(vertical.Create("", WS_VISIBLE, CRect(200, 0, 210, 100), &m_parent, 504));
    const CCapturedPixels down(vertical.GetSafeHwnd());
    EXPECT_EQ(kRed, down.At(4, 60));
    EXPECT_EQ(kBlue, down.At(5, 60));
}
