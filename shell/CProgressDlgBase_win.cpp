#include "shell/CProgressDlgBase.h"

#include "classlib/core/FormatText.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/ITextResources.h"

namespace {

constexpr int kFontTenths = 80;
constexpr const char* kFontFace = "Verdana";

}  // namespace

CProgressDlgBase::CProgressDlgBase(UINT templateId, const ControlIds& ids, CWnd* parent)
    : CDialog(templateId, parent), m_ids(ids) {}

void CProgressDlgBase::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CProgressDlgBase::LayOut(Centring centring) {
    const int mx = ScaledLength(9, m_scaleX);
    const int my = ScaledLength(9, m_scaleY);
    const int line = ScaledLength(16, m_scaleY);
    const int gap4 = ScaledLength(4, m_scaleY);
    const int gap8 = ScaledLength(8, m_scaleY);
    const int buttonWidth = ScaledLength(70, m_scaleX);
    const int buttonHeight = ScaledLength(20, m_scaleY);

    CFont* font = GetCachedFont(m_fonts, this, kFontFace, kFontTenths, m_scaleX, m_scaleY);
    CentreBox(centring, ScaledLength(280, m_scaleX), ScaledLength(160, m_scaleY));

    RECT client = {};
    GetClientRect(&client);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    m_progressText.MoveWindow(mx, my, cw - 2 * mx, line, TRUE);
    m_progress.MoveWindow(mx, my + line + gap4, cw - 2 * mx, line, TRUE);
    const int stateTop = my + line + gap4 + line + 2 * gap8;
    m_stateText.MoveWindow(mx, stateTop, cw - 2 * mx, ch - stateTop - 2 * gap8 - buttonHeight - my, TRUE);
    m_closeButton.MoveWindow(cw - buttonWidth - mx, ch - buttonHeight - my, buttonWidth, buttonHeight, TRUE);
    m_closeButton.EnableWindow(FALSE);
    if (font != nullptr) {
        const HFONT handle = *font;
        m_progressText.SetFont(handle, FALSE);
        m_stateText.SetFont(handle, FALSE);
        m_closeButton.SetFont(handle, FALSE);
    }
}

void CProgressDlgBase::CentreBox(Centring centring, int width, int height) {
    CWnd* owner = GetParent();
    if (centring == Centring::kOnOwnerElseDesktop && m_pParentWnd != nullptr) {
        owner = m_pParentWnd;
    }
    RECT area = {};
    if (owner != nullptr && owner->GetSafeHwnd() != nullptr) {
        owner->GetWindowRect(&area);
    } else if (centring == Centring::kOnOwnerElseDesktop) {
        ::GetWindowRect(::GetDesktopWindow(), &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    MoveWindow((area.left + area.right) / 2 - width / 2, (area.top + area.bottom) / 2 - height / 2, width, height,
               TRUE);
}

// The language manager hands out only translations whose conversions match "%d".
void CProgressDlgBase::ShowProgressLine(UINT formatId, int percent) {
    m_progressText.SetWindowText(FormatText(LoadText(m_resources, formatId), percent));
}

void CProgressDlgBase::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, m_ids.progressText, m_progressText);
    DDX_Control(exchange, m_ids.progress, m_progress);
    DDX_Control(exchange, m_ids.stateText, m_stateText);
    DDX_Control(exchange, m_ids.close, m_closeButton);
}

void CProgressDlgBase::OnOK() {}

void CProgressDlgBase::OnCancel() {}
