// Coloured and blinking static text, its colours read back from what the control paints.
#include "forms/CStaticExtended.h"

#include "classlib/win/CDC.h"
#include "classlib/win/CWnd.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr UINT kStaticId = 400;
constexpr int kWidth = 120;
constexpr int kHeight = 24;
constexpr COLORREF kRed = RGB(200, 0, 0);

class StaticExtendedTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            m_parent.CreateEx(0, nullptr, "parent", WS_POPUP, CRect(0, 0, 200, 100), nullptr, nullptr));
        CreateStatic();
    }

    void CreateStatic() {
        ASSERT_TRUE(
            m_static.Create("ab", WS_VISIBLE | SS_LEFT, CRect(0, 0, kWidth, kHeight), &m_parent, kStaticId));
    }

    // The control painted into a bitmap; the sampled pixel is well clear of the text.
    COLORREF BackgroundPixel() {
        CDC memory;
        memory.CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previous = memory.SelectObject(bitmap);
        m_static.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()),
                             PRF_CLIENT | PRF_ERASEBKGND);
        const COLORREF pixel = memory.GetPixel(kWidth - 3, kHeight - 3);
        memory.SelectObject(previous);
        DeleteObject(bitmap);
        return pixel;
    }

    void Tick() { m_static.SendMessage(WM_TIMER, CStaticExtended::kBlinkTimerId); }

    CWnd m_parent;
    CStaticExtended m_static;
};

}  // namespace

TEST_F(StaticExtendedTest, PaintsTheSystemColoursUntilItsOwnAreSet) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), BackgroundPixel());
    m_static.SetBkColor(kRed);
    EXPECT_EQ(kRed, BackgroundPixel());
}

TEST_F(StaticExtendedTest, AnswersItsTextColourToTheColourRequest) {
    m_static.SetTextColor(RGB(0, 0, 208));
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory.GetSafeHdc()),
                         reinterpret_cast<LPARAM>(m_static.GetSafeHwnd()));
    EXPECT_EQ(RGB(0, 0, 208), memory.GetTextColor());
    EXPECT_EQ(OPAQUE, GetBkMode(memory.GetSafeHdc()));
    m_static.SetBkMode(TRANSPARENT);
    m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory.GetSafeHdc()),
                         reinterpret_cast<LPARAM>(m_static.GetSafeHwnd()));
    EXPECT_EQ(TRANSPARENT, GetBkMode(memory.GetSafeHdc()));
}

TEST_F(StaticExtendedTest, BlinksBetweenItsColoursOnEachTick) {
    m_static.SetBkColor(kRed);
    EXPECT_EQ(TRUE, m_static.Blink(TRUE));
    EXPECT_EQ(FALSE, m_static.Blink(TRUE));
    EXPECT_EQ(kRed, BackgroundPixel());
    Tick();
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), BackgroundPixel());
    Tick();
    EXPECT_EQ(kRed, BackgroundPixel());
    Tick();
    // Stopping after an odd number of ticks still ends at the normal colours.
    EXPECT_EQ(TRUE, m_static.Blink(FALSE));
    EXPECT_EQ(kRed, BackgroundPixel());
    EXPECT_EQ(FALSE, m_static.Blink(FALSE));
}

TEST_F(StaticExtendedTest, TakesNewColoursAtOnceWhileBlinking) {
    const COLORREF blinkBackground = RGB(10, 20, 30);
    m_static.SetBlinkColors(RGB(255, 255, 255), blinkBackground);
    m_static.Blink(TRUE);
    m_static.SetBkColor(kRed);
    EXPECT_EQ(kRed, BackgroundPixel());
    Tick();
    EXPECT_EQ(blinkBackground, BackgroundPixel());
    m_static.Blink(FALSE);
}

TEST_F(StaticExtendedTest, BlinksOnItsOwnTimer) {
    m_static.SetBlinkInterval(30);
    ASSERT_EQ(TRUE, m_static.Blink(TRUE));
    const COLORREF blinkColour = GetSysColor(COLOR_ACTIVECAPTION);
    const DWORD deadline = GetTickCount() + 3000;
    bool blinked = false;
    while (!blinked && GetTickCount() < deadline) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        blinked = BackgroundPixel() == blinkColour;
        Sleep(5);
    }
    EXPECT_TRUE(blinked);
    m_static.Blink(FALSE);
}

TEST_F(StaticExtendedTest, StopsBlinkingWhenItsWindowGoes) {
    ASSERT_EQ(TRUE, m_static.Blink(TRUE));
    m_static.DestroyWindow();
    EXPECT_EQ(FALSE, m_static.Blink(FALSE));
    // Without a window there is nothing to blink, and the colours wait for the next window.
    EXPECT_EQ(FALSE, m_static.Blink(TRUE));
    m_static.SetBkColor(kRed);
    CreateStatic();
    EXPECT_EQ(kRed, BackgroundPixel());
    EXPECT_EQ(TRUE, m_static.Blink(TRUE));
    m_static.Blink(FALSE);
}
