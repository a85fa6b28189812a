#include "shell/CSlushWnd.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CPaintDC.h"

IMPLEMENT_DYNCREATE(CSlushWnd, CPopupWnd)

BEGIN_MESSAGE_MAP(CSlushWnd, CPopupWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSlushWnd::CSlushWnd() = default;

BOOL CSlushWnd::Create() {
    return CreatePopup(0, m_classIcon);
}

void CSlushWnd::OnPaint() {
    CPaintDC dc(this);
    RECT client = {};
    GetClientRect(&client);
    dc.DrawFrameControl(&client, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_MONO);
}
