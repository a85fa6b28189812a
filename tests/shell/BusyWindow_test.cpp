// The busy box on its own user-interface thread: its size and text, its place on top of
// everything, and that only its launcher can close it.
#include "link/CKeptThreads.h"
#include "shell/CSlushLauncher.h"
#include "shell/CSlushThread.h"
#include "shell/CSlushZarvoWnd.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

struct BoxSearch {
    DWORD thread;
    HWND found;
};

// A visible top-most window of this process on another thread than the test's.
BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(param);
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || thread == search.thread || !IsWindowVisible(window) ||
        (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindBusyBox() {
    BoxSearch search{GetCurrentThreadId(), nullptr};
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForBusyBox() {
    for (int i = 0; i < 250; ++i) {
        HWND box = FindBusyBox();
        if (box != nullptr) {
            return box;
        }
        Sleep(20);
    }
    return nullptr;
}

TEST(BusyWindow, BoxIsTheTextWithItsMarginsAtTheScales) {
    struct Case {
        SIZE text;
        double sx, sy;
        LONG width, height;
    };

    for (const Case& c : {Case{{100, 13}, 1.0, 1.0, 116, 25}, Case{{100, 13}, 2.0, 2.0, 132, 37},
                          Case{{80, 10}, 1.5, 1.25, 104, 25}}) {
        const SIZE box = CSlushZarvoWnd::BoxSize(c.text, c.sx, c.sy);
        EXPECT_EQ(box.cx, c.width);
        EXPECT_EQ(box.cy, c.height);
    }
}

TEST(BusyWindow, SpinnerRunsThroughItsFourCharacters) {
    std::string shown;
    for (int position = 0; position < 5; ++position) {
        shown += std::string(CSlushZarvoWnd::SpinnerText("Exiting ... [%c]", position)) + " ";
    }
    EXPECT_EQ(shown, "Exiting ... [\\] Exiting ... [|] Exiting ... [/] Exiting ... [-] Exiting ... [\\] ");
}

TEST(BusyWindow, BoxStaysOnTopInTheMiddleUntilItsLauncherClosesIt) {
    CSlushLauncher launcher;
    EXPECT_FALSE(launcher.Hide(nullptr));
    ASSERT_TRUE(launcher.Show(RUNTIME_CLASS(CSlushZarvoWnd), "Exiting ... [%c]", 1.0, 1.0));
    EXPECT_FALSE(launcher.Show(RUNTIME_CLASS(CSlushZarvoWnd), "Exiting ... [%c]", 1.0, 1.0));
    HWND box = WaitForBusyBox();
    ASSERT_NE(box, nullptr) << "no busy box";
    EXPECT_EQ(GetWindow(box, GW_OWNER) != nullptr, true);
    EXPECT_FALSE(IsWindowVisible(GetWindow(box, GW_OWNER)));

    RECT rect = {};
    GetWindowRect(box, &rect);
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_GT(rect.right - rect.left, 16);
    EXPECT_GT(rect.bottom - rect.top, 12);
    EXPECT_LE(std::abs((rect.left + rect.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - (area.top + area.bottom)), 1);

    // Sent, not posted: it has been handled when the call returns.
    SendMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(box));

    EXPECT_TRUE(launcher.Hide(nullptr));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_FALSE(launcher.IsShown());
}

// Hide right after Show waits for the box to exist, and a quick succession neither hangs
// nor leaves boxes behind.
TEST(BusyWindow, HideRightAfterShowClosesTheBox) {
    CSlushLauncher launcher;
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(launcher.Show(RUNTIME_CLASS(CSlushZarvoWnd), "Exiting ... [%c]", 1.0, 1.0));
        ASSERT_TRUE(launcher.Hide(nullptr));
    }
    EXPECT_EQ(FindBusyBox(), nullptr);
}

// A busy box whose creation hangs until released, as on a stuck user-interface thread.
class CStuckThread : public CSlushThread {
public:
    explicit CStuckThread(HANDLE release)
        : CSlushThread(RUNTIME_CLASS(CSlushZarvoWnd), "Exiting ... [%c]", 1.0, 1.0), m_release(release) {}

protected:
    void PrepareWindow(CPopupWnd& window) override {
        WaitForSingleObject(m_release, INFINITE);
        CSlushThread::PrepareWindow(window);
    }

private:
    HANDLE m_release;
};

class CStuckLauncher : public CPopupLauncher {
public:
    using CPopupLauncher::Start;
};

// The creation outlasts the launcher's wait for it and then finishes: the box that comes
// late closes at once, and the launcher has not waited for it without a limit.
TEST(BusyWindow, ABoxCreatedAfterTheCreationWaitEndsItsThread) {
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CStuckLauncher launcher;
    ASSERT_TRUE(launcher.Start(std::make_unique<CStuckThread>(release)));
    std::thread releaser([release] {
        Sleep(CPopupLauncher::kCreationWaitMs + 1000);
        SetEvent(release);
    });
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(launcher.Close(nullptr));
    EXPECT_LT(GetTickCount64() - start,
              ULONGLONG{CPopupLauncher::kCreationWaitMs + CPopupLauncher::kEndWaitMs});
    releaser.join();
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_EQ(FindBusyBox(), nullptr);
    CloseHandle(release);
}

// A busy box whose thread hangs after its window is gone, until released.
class CHangingThread : public CSlushThread {
public:
    explicit CHangingThread(HANDLE release)
        : CSlushThread(RUNTIME_CLASS(CSlushZarvoWnd), "Exiting ... [%c]", 1.0, 1.0), m_release(release) {}

    int ExitInstance() override {
        WaitForSingleObject(m_release, INFINITE);
        return CSlushThread::ExitInstance();
    }

private:
    HANDLE m_release;
};

// The box closes but its thread outlasts the launcher's wait for its end: the launcher
// returns within its bound and keeps the thread's object, which the thread still uses.
TEST(BusyWindow, AThreadThatDoesNotEndIsKeptAndEndsLater) {
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CStuckLauncher launcher;
    auto owned = std::make_unique<CHangingThread>(release);
    CHangingThread* thread = owned.get();
    ASSERT_TRUE(launcher.Start(std::move(owned)));
    ASSERT_NE(WaitForBusyBox(), nullptr);
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(launcher.Close(nullptr));
    EXPECT_LT(GetTickCount64() - start,
              ULONGLONG{CPopupLauncher::kCreationWaitMs + CPopupLauncher::kEndWaitMs});
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_EQ(FindBusyBox(), nullptr);
    EXPECT_TRUE(CKeptThreads::Holds(thread));

    SetEvent(release);
    EXPECT_TRUE(thread->Wait(CPopupLauncher::kEndWaitMs));
    CloseHandle(release);
}

}  // namespace
