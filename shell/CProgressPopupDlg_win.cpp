#include "shell/CProgressPopupDlg.h"

#include "shell/CResourceManager.h"
#include "forms/fonts/GetCachedFont.h"

namespace {

constexpr int kDesignWidth = 220;
constexpr int kDesignHeight = 46;
constexpr int kMarginX = 7;
constexpr int kMarginY = 6;
constexpr int kLineHeight = 14;
constexpr int kFontTenths = 60;
constexpr const char* kFontFace = "MS Shell Dlg";

}  // namespace

CProgressPopupDlg::CProgressPopupDlg(UINT templateId, UINT textId, short rangeUpper)
    : CDialog(templateId), m_textId(textId), m_rangeUpper(rangeUpper) {}

void CProgressPopupDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kStatusTextId, m_statusText);
    DDX_Control(exchange, kProgressId, m_progress);
}

BOOL CProgressPopupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Layout();
    return TRUE;
}

void CProgressPopupDlg::Layout() {
    CFont* font = GetCachedFont(m_fonts, this, kFontFace, kFontTenths, m_scaleX, m_scaleY);

    const int width = static_cast<int>(kDesignWidth * m_scaleX);
    const int height = static_cast<int>(kDesignHeight * m_scaleY);
    RECT owner = {0, 0, 0, 0};
    CWnd* parent = GetParent();
    if (parent != nullptr) {
        parent->GetWindowRect(&owner);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &owner, 0);
    }
    const int left = (owner.left + owner.right) / 2 - width / 2;
    const int top = (owner.top + owner.bottom) / 2 - height / 2;
    MoveWindow(left, top, width, height, TRUE);

    RECT client = {};
    GetClientRect(&client);
    const int cw = client.right - client.left;
    const int mx = static_cast<int>(kMarginX * m_scaleX);
    const int my = static_cast<int>(kMarginY * m_scaleY);
    const int lh = static_cast<int>(kLineHeight * m_scaleY);
    m_statusText.MoveWindow(mx, my, cw - 2 * mx, lh, TRUE);
    if (font != nullptr) {
        m_statusText.SetFont(*font, TRUE);
    }
    m_progress.MoveWindow(mx, lh + 2 * my, cw - 2 * mx, lh, TRUE);

    m_progress.SetRange(0, m_rangeUpper);
    m_progress.SetPos(0);
    CString text;
    if (m_resources != nullptr) {
        m_resources->GetString(m_textId, text);
    }
    m_statusText.SetWindowText(text);
    Invalidate(TRUE);
}

void CProgressPopupDlg::SetProgress(int position) {
    if (!IsWindow()) {
        return;
    }
    m_progress.SetPos(position);
}

void CProgressPopupDlg::OnOK() {}

void CProgressPopupDlg::OnCancel() {}
