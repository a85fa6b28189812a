#include "classlib/win/CPropertyPage.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId), m_captionId(captionId) {}

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    m_modified = FALSE;
    return TRUE;
}

void CPropertyPage::OnReset() {
    m_modified = FALSE;
}
