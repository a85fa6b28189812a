#include "firmware/CFirmwareUpdateDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/DataHandlerMessages.h"
#include "shell/CResourceManager.h"
#include "shell/GetCachedFont.h"

namespace {

constexpr UINT kCaptionId = 15225;       // "MCU Firmware Updating"
constexpr UINT kErasingId = 15226;       // "Erasing: %d%%."
constexpr UINT kWriteErrorId = 15227;    // "Write error. You have to restart updating."
constexpr UINT kBrokenId = 15228;        // "The update is broken. You have to restart updating."
constexpr UINT kAbortedId = 15229;       // "Aborted. Connection lost. You have to restart updating."
constexpr UINT kWritingId = 15389;       // "Writing: %d%%."
constexpr UINT kInitializingId = 15390;  // "Initializing: %d%%."
constexpr UINT kWaitingId = 15391;       // "Waiting ..."
constexpr UINT kCloseTextId = 15392;     // "Close"
constexpr UINT kFinishedId = 15395;      // "Finished successfully."
constexpr UINT kProgrammingId = 15397;   // "Programming ..."

constexpr int kUpdateModeStatus = 5;
constexpr int kFontTenths = 80;

int Scaled(double units, double scale) {
    return static_cast<int>(units * scale);
}

}  // namespace

BEGIN_MESSAGE_MAP(CFirmwareUpdateDlg, CDialog)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_BN_CLICKED(CFirmwareUpdateDlg::kCloseId, OnClose)
END_MESSAGE_MAP()

CFirmwareUpdateDlg::CFirmwareUpdateDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

CFirmwareUpdateDlg::~CFirmwareUpdateDlg() = default;

void CFirmwareUpdateDlg::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        ::PostMessageA(window, message, wParam, lParam);
    }
}

void CFirmwareUpdateDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kPhaseTextId, m_phaseText);
    DDX_Control(exchange, kProgressId, m_progress);
    DDX_Control(exchange, kStatusTextId, m_statusText);
    DDX_Control(exchange, kCloseId, m_closeButton);
}

BOOL CFirmwareUpdateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    DoLayout();
    m_lastCode = 0;
    return TRUE;
}

void CFirmwareUpdateDlg::DoLayout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    const int width = Scaled(280, sx);
    const int height = Scaled(160, sy);
    const int mx = Scaled(9, sx);
    const int my = Scaled(9, sy);
    const int line = Scaled(16, sy);
    const int gap4 = Scaled(4, sy);
    const int gap8 = Scaled(8, sy);
    const int buttonWidth = Scaled(70, sx);
    const int buttonHeight = Scaled(20, sy);

    CFont* font = GetCachedFont(m_fonts, this, "Verdana", kFontTenths, sx, sy);

    RECT parentArea = {};
    CWnd* parent = m_pParentWnd != nullptr ? m_pParentWnd : GetParent();
    if (parent != nullptr && parent->GetSafeHwnd() != nullptr) {
        parent->GetWindowRect(&parentArea);
    } else {
        ::GetWindowRect(::GetDesktopWindow(), &parentArea);
    }
    MoveWindow((parentArea.left + parentArea.right) / 2 - width / 2,
               (parentArea.top + parentArea.bottom) / 2 - height / 2, width, height, TRUE);

    RECT client = {};
    GetClientRect(&client);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    m_phaseText.MoveWindow(mx, my, cw - 2 * mx, line, TRUE);
    m_progress.MoveWindow(mx, my + line + gap4, cw - 2 * mx, line, TRUE);
    m_progress.SetRange(0, 1000);
    m_progress.SetPos(0, 1);
    const int statusTop = my + line + gap4 + line + 2 * gap8;
    m_statusText.MoveWindow(mx, statusTop, cw - 2 * mx, ch - statusTop - 2 * gap8 - buttonHeight - my, TRUE);
    m_closeButton.MoveWindow(cw - buttonWidth - mx, ch - buttonHeight - my, buttonWidth, buttonHeight, TRUE);
    m_closeButton.EnableWindow(FALSE);
    if (font != nullptr) {
        const HFONT handle = *font;
        m_phaseText.SetFont(handle, FALSE);
        m_statusText.SetFont(handle, FALSE);
        m_closeButton.SetFont(handle, FALSE);
    }
    SetTexts();
    Invalidate(TRUE);
}

void CFirmwareUpdateDlg::SetTexts() {
    SetWindowText(LoadText(kCaptionId));
    ShowPhase(kInitializingId, 0);
    m_statusText.SetWindowText(LoadText(kWaitingId));
    m_closeButton.SetWindowText(LoadText(kCloseTextId));
}

CString CFirmwareUpdateDlg::LoadText(UINT id) const {
    CString text;
    if (m_resources != nullptr) {
        m_resources->GetString(id, text);
    }
    return text;
}

void CFirmwareUpdateDlg::ShowPhase(UINT formatId, int percent) {
    CString text;
    // The resource manager hands out only translations whose conversions match the
    // built-in text, so the percentage meets the one %d it expects.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    text.Format(LoadText(formatId), percent);
#pragma GCC diagnostic pop
    m_phaseText.SetWindowText(text);
}

void CFirmwareUpdateDlg::ShowStatus(UINT textId, bool enableClose) {
    m_statusText.SetWindowText(LoadText(textId));
    m_closeButton.EnableWindow(enableClose ? TRUE : FALSE);
}

void CFirmwareUpdateDlg::OnUpdateProgress(int code, int perMille) {
    m_lastCode = code;
    const int percent = perMille / 10;
    switch (code) {
    case kCodeErasing:
    case kCodeWriting:
    case kCodeFinished:
        ShowPhase(code == kCodeErasing ? kErasingId : kWritingId, percent);
        m_progress.SetPos(perMille, 0);
        ShowStatus(code == kCodeFinished ? kFinishedId : kProgrammingId, code == kCodeFinished);
        return;
    case kCodeWriteError:
        ShowStatus(kWriteErrorId, true);
        return;
    case kCodeBroken:
        ShowStatus(kBrokenId, true);
        return;
    default:
        return;
    }
}

LRESULT CFirmwareUpdateDlg::OnStatusChanged(WPARAM status, LPARAM port) {
    const bool uploading = m_lastCode == 0 || m_lastCode == kCodeWriting || m_lastCode == kCodeErasing;
    if (static_cast<int>(status) != kUpdateModeStatus && uploading) {
        ShowStatus(kAbortedId, true);
    }
    return 0;
}

void CFirmwareUpdateDlg::OnClose() {
    EndDialog(1);
}

void CFirmwareUpdateDlg::OnOK() {}

void CFirmwareUpdateDlg::OnCancel() {}
