#include "shell/CPopupWnd.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/AfxRegisterWndClass.h"

IMPLEMENT_DYNAMIC(CPopupWnd, CWnd)

BEGIN_MESSAGE_MAP(CPopupWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CPopupWnd::CPopupWnd() = default;

CPopupWnd::~CPopupWnd() {
    if (m_owner.GetSafeHwnd() != nullptr) {
        m_owner.DestroyWindow();
    }
}

BOOL CPopupWnd::CreatePopup(UINT classStyle, HICON classIcon) {
    const LPCSTR ownerClass = AfxRegisterWndClass(0, nullptr, nullptr, classIcon);
    const RECT nowhere = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    if (!m_owner.CreateEx(0, ownerClass, "", WS_POPUP, nowhere, nullptr, nullptr)) {
        return FALSE;
    }
    LPCSTR boxClass = AfxRegisterWndClass(classStyle, LoadCursor(nullptr, IDC_ARROW), nullptr, classIcon);
    if (boxClass == nullptr && classStyle != 0) {
        boxClass = AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), nullptr, classIcon);
    }
    const RECT box = {0, 0, m_width, m_height};
    return CreateEx(WS_EX_TOPMOST, boxClass, "", WS_POPUP | WS_VISIBLE, box, m_owner.GetSafeHwnd(), nullptr);
}

// The owner is invisible, so the box centres itself on the work area.
int CPopupWnd::OnCreate(LPCREATESTRUCT create) {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int x = area.left + (area.right - area.left - m_width) / 2;
    const int y = area.top + (area.bottom - area.top - m_height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// Closing the owner destroys the box, the thread's main window, which ends the thread.
void CPopupWnd::OnClose() {
    if (!m_closingAllowed) {
        return;
    }
    m_owner.PostMessage(WM_CLOSE);
}
