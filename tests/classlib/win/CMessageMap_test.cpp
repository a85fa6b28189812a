// Message maps and the library window procedure: early messages reach the object on
// both roads, handler results reach the sender, maps chain to their bases, control
// notifications go to the control first, and no exception leaves a handler.
#include "classlib/win/AfxWndProc.h"
#include "classlib/win/CWnd.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr UINT kUserMessage = 0x600;
constexpr UINT kThrowingMessage = 0x601;
constexpr UINT kBaseMessage = 0x610;
constexpr UINT kChildId = 77;
constexpr UINT kCodeReflected = 900;
constexpr UINT kCodeForParent = 901;
constexpr int kCodeRange = -106;
constexpr WORD kNotifyCommand = 0x300;  // a control notification code with no meaning here
const UINT kRegisteredMessage = RegisterWindowMessageA("ZarvoMessageMapTest");

class CBaseTestWnd : public CWnd {
public:
    std::vector<std::string> m_log;

protected:
    LRESULT OnBaseMessage(WPARAM wParam, LPARAM lParam) {
        m_log.push_back("base");
        return 1000 + static_cast<LRESULT>(wParam);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTestWnd, CWnd)
    ON_MESSAGE(kBaseMessage, OnBaseMessage)
END_MESSAGE_MAP()

class CTestWnd : public CBaseTestWnd {
public:
    std::vector<UINT> m_commands;

protected:
    void PreSubclassWindow() override { m_log.push_back("presubclass"); }

    int OnCreate(LPCREATESTRUCT create) {
        m_log.push_back("create");
        return CWnd::OnCreate(create);
    }

    LRESULT OnUser(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }

    LRESULT OnRegistered(WPARAM wParam, LPARAM lParam) { return kRegisteredMessage; }

    LRESULT OnThrowing(WPARAM wParam, LPARAM lParam) { throw std::runtime_error("handler failed"); }

    void OnCommandRange(UINT id) { m_commands.push_back(id); }

    void OnChildCommand() { m_log.push_back("parent command"); }

    void OnChildNotification(NMHDR* header, LRESULT* result) { *result = 42; }

    void OnAnyEndEdit(UINT id, NMHDR* header, LRESULT* result) { *result = -1; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CBaseTestWnd)
    ON_WM_CREATE()
    ON_MESSAGE(kUserMessage, OnUser)
    ON_MESSAGE(kThrowingMessage, OnThrowing)
    ON_REGISTERED_MESSAGE(kRegisteredMessage, OnRegistered)
    ON_COMMAND_RANGE(32771, 32790, OnCommandRange)
    ON_CONTROL(kNotifyCommand, kChildId, OnChildCommand)
    ON_NOTIFY(kCodeForParent, kChildId, OnChildNotification)
    ON_NOTIFY_RANGE(kCodeRange, 0, 0xFFFF, OnAnyEndEdit)
END_MESSAGE_MAP()

// A control that answers some of its own notifications.
class CReflectingChild : public CWnd {
public:
    BOOL m_consumeCommand = TRUE;
    int m_reflectedCommands = 0;
    int m_drawn = 0;

protected:
    BOOL OnReflectedCommand() {
        ++m_reflectedCommands;
        return m_consumeCommand;
    }

    void OnReflectedNotify(NMHDR* header, LRESULT* result) { *result = -1; }

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override { ++m_drawn; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingChild, CWnd)
    ON_CONTROL_REFLECT_EX(kNotifyCommand, OnReflectedCommand)
    ON_NOTIFY_REFLECT(kCodeReflected, OnReflectedNotify)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

class CSelfDeletingWnd : public CWnd {
public:
    explicit CSelfDeletingWnd(bool* deleted) : m_deleted(deleted) {}

protected:
    void PostNcDestroy() override {
        *m_deleted = true;
        delete this;  // the object belongs to its window
    }

private:
    bool* m_deleted;
};

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kUserMessage) {
        return -5;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreatePlainWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZarvoMessageMapPlain";
    RegisterClassA(&windowClass);
    return CreateWindowA("ZarvoMessageMapPlain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

const CRect kPopupRect(0, 0, 100, 100);

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "test", WS_POPUP, kPopupRect, nullptr, nullptr));
    }

    CTestWnd m_wnd;
};

}  // namespace

TEST_F(MessageMapTest, CreatedWindowReachesItsObjectFromTheFirstMessages) {
    EXPECT_EQ((std::vector<std::string>{"presubclass", "create"}), m_wnd.m_log);
    EXPECT_EQ(&m_wnd, CWnd::FromHandlePermanent(m_wnd.m_hWnd));
}

TEST_F(MessageMapTest, HandlerResultsReachTheSender) {
    EXPECT_EQ(5, m_wnd.SendMessage(kUserMessage, 2, 3));
    EXPECT_EQ(1007, m_wnd.SendMessage(kBaseMessage, 7, 0));  // found in the base class's map
    EXPECT_EQ(static_cast<LRESULT>(kRegisteredMessage), m_wnd.SendMessage(kRegisteredMessage));

    // A handled command answers nonzero; an unknown one gets the default 0.
    EXPECT_EQ(1, m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(32789, 1), 0));
    EXPECT_EQ(0, m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(32791, 1), 0));
    EXPECT_EQ(std::vector<UINT>{32789}, m_wnd.m_commands);

    NMHDR endEdit = {nullptr, 4711, static_cast<UINT>(kCodeRange)};
    EXPECT_EQ(-1, m_wnd.SendMessage(WM_NOTIFY, 4711, reinterpret_cast<LPARAM>(&endEdit)));
}

TEST_F(MessageMapTest, ExceptionInAHandlerIsReportedAndStopsThere) {
    std::vector<std::string> reports;
    AfxErrorHandler previous = AfxSetErrorHandler([&reports](const char* text) { reports.push_back(text); });
    EXPECT_EQ(0, m_wnd.SendMessage(kThrowingMessage));
    AfxSetErrorHandler(previous);
    ASSERT_EQ(1u, reports.size());
    EXPECT_NE(std::string::npos, reports[0].find("handler failed"));
    EXPECT_EQ(5, m_wnd.SendMessage(kUserMessage, 2, 3));  // the window still works
}

TEST_F(MessageMapTest, ControlAnswersItsNotificationsBeforeTheParent) {
    CReflectingChild child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 10, 10), &m_wnd, kChildId));
    const LPARAM childHandle = reinterpret_cast<LPARAM>(child.m_hWnd);
    const WPARAM command = MAKEWPARAM(kChildId, kNotifyCommand);

    struct Case {
        BOOL consume;
        size_t parentCalls;
    };

    for (const Case& c : {Case{TRUE, 0}, Case{FALSE, 1}}) {
        SCOPED_TRACE(c.consume);
        m_wnd.m_log.clear();
        child.m_consumeCommand = c.consume;
        EXPECT_EQ(1, m_wnd.SendMessage(WM_COMMAND, command, childHandle));
        EXPECT_EQ(c.parentCalls, m_wnd.m_log.size());
    }
    EXPECT_EQ(2, child.m_reflectedCommands);

    NMHDR reflected = {child.m_hWnd, kChildId, kCodeReflected};
    EXPECT_EQ(-1, m_wnd.SendMessage(WM_NOTIFY, kChildId, reinterpret_cast<LPARAM>(&reflected)));
    NMHDR forParent = {child.m_hWnd, kChildId, kCodeForParent};
    EXPECT_EQ(42, m_wnd.SendMessage(WM_NOTIFY, kChildId, reinterpret_cast<LPARAM>(&forParent)));

    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = kChildId;
    draw.hwndItem = child.m_hWnd;
    EXPECT_EQ(TRUE, m_wnd.SendMessage(WM_DRAWITEM, kChildId, reinterpret_cast<LPARAM>(&draw)));
    EXPECT_EQ(1, child.m_drawn);
}

TEST(MessageMapSubclass, SubclassedWindowKeepsItsProcedureForUnmappedMessagesAndGetsItBack) {
    const HWND hwnd = CreatePlainWindow();
    ASSERT_NE(nullptr, hwnd);
    {
        CTestWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hwnd));
        EXPECT_EQ(std::vector<std::string>{"presubclass"}, wnd.m_log);
        EXPECT_EQ(9, SendMessageA(hwnd, kUserMessage, 4, 5));
        EXPECT_FALSE(CTestWnd().SubclassWindow(hwnd));  // one object per window
        EXPECT_EQ(hwnd, wnd.UnsubclassWindow());
    }
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
    EXPECT_EQ(-5, SendMessageA(hwnd, kUserMessage, 4, 5));
    CWnd* temporary = CWnd::FromHandle(hwnd);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(hwnd, temporary->m_hWnd);
    CWnd::DeleteTempMap();
    DestroyWindow(hwnd);
}

TEST(MessageMapLifetime, WindowThatOwnsItsObjectDeletesItAfterTheLastMessage) {
    bool deleted = false;
    auto* wnd = new CSelfDeletingWnd(&deleted);  // handed to its window
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, "", WS_POPUP, kPopupRect, nullptr, nullptr));
    const HWND hwnd = wnd->m_hWnd;
    EXPECT_TRUE(wnd->DestroyWindow());
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
}
