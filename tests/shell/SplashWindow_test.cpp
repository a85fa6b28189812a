// The splash on its own user-interface thread: its picture, place and shape, the version
// line's texts, and that only its launcher can close it.
#include "shell/CSplashLauncher.h"
#include "shell/CSplashZarvoWnd.h"
#include "shell/CZarvoApp.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

// The splash asks the application object whether the version is known yet.
CZarvoApp g_app;

// The configurator's splash shaped by a region, as on systems without layered windows.
class CRegionSplashWnd : public CSplashZarvoWnd {
    DECLARE_DYNCREATE(CRegionSplashWnd)

public:
    CRegionSplashWnd() { UseWindowRegion(); }
};

IMPLEMENT_DYNCREATE(CRegionSplashWnd, CSplashZarvoWnd)

HWND SplashWindow(const CSplashLauncher& launcher) {
    CPopupWnd* window = launcher.GetWindow();
    return window != nullptr ? window->GetSafeHwnd() : nullptr;
}

// The launcher's window exists once the creation has been reported.
HWND WaitForSplash(const CSplashLauncher& launcher) {
    for (int i = 0; i < 250; ++i) {
        HWND window = SplashWindow(launcher);
        if (window != nullptr) {
            return window;
        }
        Sleep(20);
    }
    return nullptr;
}

TEST(SplashWindow, BuildDateComesFromTheCompilerDateText) {
    struct Case {
        const char* text;
        const char* date;
    };

    for (const Case& c : {Case{"Sep 24 2009", "2009-09-24"}, Case{"Jan  5 2010", "2010-01-05"},
                          Case{"Dec 31 1999", "1999-12-31"}, Case{"Sep 24 09", ""}, Case{"", ""}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(std::string(CSplashZarvoWnd::BuildDate(c.text)), c.date);
    }
}

TEST(SplashWindow, VersionLineNamesSuiteAndBuild) {
    EXPECT_EQ(std::string(CSplashZarvoWnd::VersionLine(1, 2, 3, 45, "2009-09-24")),
              "v1.02 suite 3 build 0045 ( 2009-09-24 )");
}

TEST(SplashWindow, PictureStaysOnTopInTheMiddleUntilItsLauncherClosesIt) {
    CSplashLauncher launcher;
    EXPECT_FALSE(launcher.Hide());
    ASSERT_TRUE(launcher.Show(RUNTIME_CLASS(CSplashZarvoWnd)));
    HWND splash = WaitForSplash(launcher);
    ASSERT_NE(splash, nullptr) << "no splash";
    RECT rect = {};
    GetWindowRect(splash, &rect);
    EXPECT_EQ(rect.right - rect.left, 500);
    EXPECT_EQ(rect.bottom - rect.top, 166);
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_LE(std::abs((rect.left + rect.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - (area.top + area.bottom)), 1);
    EXPECT_NE(GetWindowLongPtrA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    HWND owner = GetWindow(splash, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));

    // Sent, not posted: it has been handled when the call returns.
    SendMessageA(splash, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(splash));
    EXPECT_TRUE(launcher.Hide());
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_FALSE(launcher.Hide());
}

TEST(SplashWindow, WithoutLayeredWindowsARegionCutsTheMagentaAway) {
    CSplashLauncher launcher;
    ASSERT_TRUE(launcher.Show(RUNTIME_CLASS(CRegionSplashWnd)));
    HWND splash = WaitForSplash(launcher);
    ASSERT_NE(splash, nullptr) << "no splash";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(splash, region), COMPLEXREGION);
    // The picture's corners are magenta, its middle is not.
    EXPECT_FALSE(PtInRegion(region, 1, 1));
    EXPECT_FALSE(PtInRegion(region, 498, 164));
    EXPECT_TRUE(PtInRegion(region, 250, 83));
    DeleteObject(region);
    EXPECT_TRUE(launcher.Close(nullptr));
}

TEST(SplashWindow, CloseRightAfterShowClosesTheSplash) {
    CSplashLauncher launcher;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(launcher.Show(RUNTIME_CLASS(CSplashZarvoWnd)));
        ASSERT_TRUE(launcher.Close(nullptr));
        EXPECT_EQ(SplashWindow(launcher), nullptr);
    }
}

}  // namespace
