#include "forms/CScrollPage.h"

#include <commctrl.h>

CScrollPage::CScrollPage(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), m_pageTemplateId(templateId) {}

void CScrollPage::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
}

BOOL CScrollPage::OnInitDialog() {
    CDialog::OnInitDialog();
    FitIntoTabCtrl();
    return TRUE;
}

void CScrollPage::FitIntoTabCtrl() {
    CWnd* host = GetParent();
    if (host == nullptr || m_tabCtrl == nullptr || m_tabCtrl->GetSafeHwnd() == nullptr) {
        return;
    }
    RECT area = {};
    host->GetClientRect(&area);
    m_tabCtrl->SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MoveWindow(area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}
