// The indicator lamp's segments, read back from the screen at each segment's face centre.
#include "forms/CIndicatorLamp.h"

#include "classlib/win/CRect.h"
#include "tests/forms/ControlTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// The bumped edge takes 2 pixels on each side, so the inside is 100 by 20.
constexpr int kEdge = 2;
const CRect kLampRect(10, 10, 10 + 100 + 2 * kEdge, 10 + 20 + 2 * kEdge);
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kRed = RGB(247, 3, 47);
constexpr COLORREF kGreen = RGB(62, 232, 17);

class IndicatorLampTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_lamp.Create("", WS_VISIBLE, kLampRect, &m_parent, 500)); }

    CTestParentWnd m_parent;
    CIndicatorLamp m_lamp;
};

}  // namespace

TEST_F(IndicatorLampTest, LightsTheStatusPageSegmentsByLevel) {
    // The live status page's lamp: 5 segments of 10 pixels at x = 5, 25, 45, 65, 85 of the
    // inside, 15 high from y = 3.
    m_lamp.SetColors(kGrey, kRed, kGrey, kGreen);
    m_lamp.SetSegmentCount(5);
    m_lamp.SetLayout(0.05, 0.05, 0.1, 0.75);

    struct LevelCase {
        int level;
        COLORREF segments[5];
    };

    const LevelCase cases[] = {
        {-1, {kGrey, kGrey, kGrey, kGrey, kGrey}},    {0, {kRed, kGrey, kGrey, kGrey, kGrey}},
        {2, {kGrey, kGreen, kGreen, kGrey, kGrey}},   {4, {kGrey, kGreen, kGreen, kGreen, kGreen}},
        {9, {kGrey, kGreen, kGreen, kGreen, kGreen}},
    };
    for (const LevelCase& c : cases) {
        m_lamp.SetLevel(c.level);
        const CCapturedPixels pixels(m_lamp.GetSafeHwnd());
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(c.segments[i], pixels.At(kEdge + 5 + 20 * i + 5, kEdge + 3 + 7))
                << "level " << c.level << ", segment " << i;
        }
        // The segments stay within their 15 rows.
        EXPECT_NE(c.segments[1], pixels.At(kEdge + 25 + 5, kEdge + 1)) << "level " << c.level;
    }
}

TEST_F(IndicatorLampTest, StartsWithThreeSegmentsAtLevelTwo) {
    // Segments of trunc(100 * 0.34 / 3) = 11 pixels from x = 11 + (100 - 11 - 44 - 33 - 11) / 2 = 11,
    // a pitch of 33, 10 high from y = 5.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const CCapturedPixels pixels(m_lamp.GetSafeHwnd());
    const int y = kEdge + 5 + 5;
    EXPECT_EQ(face, pixels.At(kEdge + 11 + 5, y));
    EXPECT_EQ(RGB(0, 255, 0), pixels.At(kEdge + 44 + 5, y));
    EXPECT_EQ(RGB(0, 255, 0), pixels.At(kEdge + 77 + 5, y));
    m_lamp.SetLevel(0);
    const CCapturedPixels atZero(m_lamp.GetSafeHwnd());
    EXPECT_EQ(RGB(255, 0, 0), atZero.At(kEdge + 11 + 5, y));
    EXPECT_EQ(face, atZero.At(kEdge + 44 + 5, y));
}
