// The thin window holder: messages reach the window's procedure, also from a worker
// thread, and enable/show report the previous state.
#include "classlib/win/CWnd.h"

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr UINT kTestMessage = WM_APP + 7;
constexpr LRESULT kTestAnswer = 4711;

std::vector<WPARAM>& Received() {
    static std::vector<WPARAM> received;
    return received;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTestMessage) {
        Received().push_back(wParam);
        return kTestAnswer + static_cast<LRESULT>(wParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A hidden top-level window on the test's thread, destroyed with the fixture.
class CWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        Received().clear();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZarvoCWndTest";
        RegisterClassA(&windowClass);
        HWND hwnd = CreateWindowA("ZarvoCWndTest", "test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
        ASSERT_NE(nullptr, hwnd);
        ASSERT_TRUE(m_wnd.Attach(hwnd));
    }

    void TearDown() override {
        if (m_wnd.IsWindow()) {
            DestroyWindow(m_wnd.Detach());
        }
    }

    static void PumpMessages() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    CWnd m_wnd;
};

}  // namespace

TEST_F(CWndTest, PostedMessageArrivesWhenTheQueueIsPumped) {
    ASSERT_TRUE(m_wnd.PostMessage(kTestMessage, 3, 0));
    EXPECT_TRUE(Received().empty());
    PumpMessages();
    EXPECT_EQ(std::vector<WPARAM>{3}, Received());
}

TEST_F(CWndTest, SendMessageReturnsTheProcedureResultAlsoFromAWorker) {
    EXPECT_EQ(kTestAnswer + 1, m_wnd.SendMessage(kTestMessage, 1, 0));
    std::atomic<bool> done{false};
    LRESULT workerResult = 0;
    std::thread worker([this, &done, &workerResult] {
        workerResult = m_wnd.SendMessage(kTestMessage, 2, 0);
        done = true;
    });
    // The window's thread must keep pumping for the worker's send to be served.
    const DWORD deadline = GetTickCount() + 5000;
    while (!done && GetTickCount() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    worker.join();
    EXPECT_EQ(kTestAnswer + 2, workerResult);
    EXPECT_EQ((std::vector<WPARAM>{1, 2}), Received());
}

TEST_F(CWndTest, EnableAndShowReportThePreviousState) {
    EXPECT_FALSE(m_wnd.EnableWindow(FALSE));
    EXPECT_FALSE(IsWindowEnabled(m_wnd.GetSafeHwnd()));
    EXPECT_TRUE(m_wnd.EnableWindow(TRUE));
    EXPECT_TRUE(IsWindowEnabled(m_wnd.GetSafeHwnd()));

    EXPECT_FALSE(m_wnd.ShowWindow(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(IsWindowVisible(m_wnd.GetSafeHwnd()));
    EXPECT_TRUE(m_wnd.ShowWindow(SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(m_wnd.GetSafeHwnd()));
}

TEST_F(CWndTest, WindowlessHolderPostsNothing) {
    CWnd empty;
    EXPECT_EQ(nullptr, empty.GetSafeHwnd());
    EXPECT_FALSE(empty.IsWindow());
    EXPECT_FALSE(empty.PostMessage(kTestMessage, 9, 0));
    // Posting to a null window would have landed in this thread's queue.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, kTestMessage, kTestMessage, PM_REMOVE));
}

TEST_F(CWndTest, HolderSeesTheWindowGo) {
    EXPECT_TRUE(m_wnd.IsWindow());
    DestroyWindow(m_wnd.GetSafeHwnd());
    EXPECT_FALSE(m_wnd.IsWindow());
    EXPECT_NE(nullptr, m_wnd.Detach());
    EXPECT_EQ(nullptr, m_wnd.GetSafeHwnd());
}
