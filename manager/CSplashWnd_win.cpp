#include "manager/CSplashWnd.h"

#include "classlib/win/AfxRegisterWndClass.h"

IMPLEMENT_DYNCREATE(CSplashWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CSplashWnd::CSplashWnd() : m_closeAllowed(false) {}

CSplashWnd::~CSplashWnd() {
    if (m_owner.GetSafeHwnd() != nullptr) {
        m_owner.DestroyWindow();
    }
}

BOOL CSplashWnd::Create() {
    LPCSTR className = AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), nullptr, m_classIcon);
    if (className == nullptr) {
        return FALSE;
    }
    const RECT none = {0, 0, 0, 0};
    if (!m_owner.CreateEx(0, className, "", WS_POPUP, none, nullptr, nullptr)) {
        return FALSE;
    }
    const RECT size = {0, 0, m_width, m_height};
    return CreateEx(WS_EX_TOPMOST, className, "", WS_POPUP | WS_VISIBLE, size, m_owner.GetSafeHwnd(),
                    nullptr);
}

// The owner's destruction takes the splash with it and so ends the thread's loop.
void CSplashWnd::OnClose() {
    if (!m_closeAllowed) {
        return;
    }
    m_owner.PostMessage(WM_CLOSE);
}
