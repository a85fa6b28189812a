#include "diag/CPhaseTestPage.h"

#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CFont.h"
#include "diag/CNumberInput.h"
#include "diag/UnitBytes.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

namespace {

constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15152;      // "Element out of range: %s <- %c%s; %s%c."

constexpr int kSubscribedFlags = 4 | 8;
constexpr int kReasonTransferDone = 0x4;
constexpr int kPhaseCount = 6;
constexpr int kGasReleased = 255;
constexpr int kGasBlocked = 0;

constexpr int kPhaseFontTenths = 85;
constexpr int kValueFontTenths = 80;

int Selected(const CComboBox& list) {
    const int selection = list.GetCurSel();
    return selection < 0 ? 0 : static_cast<int>(list.GetItemData(selection));
}

}  // namespace

BEGIN_MESSAGE_MAP(CPhaseTestPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnIgnored)
    ON_CBN_SELENDOK(CPhaseTestPage::kPhaseId, OnPhaseSelected)
    ON_BN_CLICKED(CPhaseTestPage::kSendId, OnSend)
END_MESSAGE_MAP()

CPhaseTestPage::CPhaseTestPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {}

CPhaseTestPage::~CPhaseTestPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    m_dataHandler->Unsubscribe(this, kElement, kSubscribedFlags);
}

void CPhaseTestPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CPhaseTestPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kPhaseId, m_phase);
    DDX_Control(exchange, kLambdaId, m_lambda);
    DDX_Control(exchange, kGasId, m_gas);
    DDX_Control(exchange, kTimeId, m_time);
    DDX_Control(exchange, kSendId, m_send);
}

BOOL CPhaseTestPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kElement, kSubscribedFlags);
    }
    SetFonts();
    m_phase.ResetContent();
    m_phase.SetItemData(m_phase.AddString("W\xE4hlen Sie ..."), 0);
    for (int phase = 1; phase <= kPhaseCount; ++phase) {
        CString text;
        text.Format("%d.", phase);
        m_phase.SetItemData(m_phase.AddString(text), static_cast<DWORD_PTR>(phase));
    }
    m_phase.SetCurSel(0);
    SetContentHeight(0);
    return TRUE;
}

void CPhaseTestPage::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    CFont* labels = GetCachedFont(m_fonts, this, "Verdana", kPhaseFontTenths, m_scaleX, m_scaleY, FW_DONTCARE,
                                  ANSI_CHARSET);
    CFont* values = GetCachedFont(m_fonts, this, "Verdana", kValueFontTenths, m_scaleX, m_scaleY, FW_DONTCARE,
                                  ANSI_CHARSET);
    if (labels == nullptr || values == nullptr) {
        CLogger::Instance().Log(3000, "CPhaseTestPage::SetFonts(): no Verdana font.");
        return;
    }
    SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*labels)), FALSE);
    for (const int id : {kLambdaId, kGasId, kTimeId}) {
        GetDlgItem(id)->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*values)), FALSE);
    }
}

LRESULT CPhaseTestPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

void CPhaseTestPage::FillGasChoices() {
    m_gas.ResetContent();
    m_gas.SetItemData(m_gas.AddString("Freigegeben"), kGasReleased);
    m_gas.SetItemData(m_gas.AddString("Gesperrt"), kGasBlocked);
}

void CPhaseTestPage::ClearValues() {
    m_lambda.SetWindowText("");
    m_time.SetWindowText("");
    m_gas.ResetContent();
}

void CPhaseTestPage::EnableValues(BOOL enable) {
    m_send.EnableWindow(enable);
    m_lambda.EnableWindow(enable);
    m_gas.EnableWindow(enable);
    m_time.EnableWindow(enable);
}

void CPhaseTestPage::OnPhaseSelected() {
    const int phase = Selected(m_phase);
    if (phase == 0) {
        EnableValues(FALSE);
        ClearValues();
        return;
    }
    m_readRequest = static_cast<BYTE>(phase);
    if (m_dataHandler != nullptr) {
        m_dataHandler->RequestRead(kElement, &m_readRequest);
    }
}

LRESULT CPhaseTestPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) != kElement || HIWORD(lParam) != kReasonTransferDone || m_dataHandler == nullptr) {
        return 0;
    }
    // After a failed read or write the fields would show values the unit does not hold, and
    // "Senden" would write another phase's values to the chosen one.
    if (wParam == 0) {
        EnableValues(FALSE);
        ClearValues();
        return 0;
    }
    BYTE bytes[16] = {};
    m_dataHandler->ReadData(kElement, bytes);
    CString text;
    text.Format("%d", SignedByte(bytes[0]));
    m_send.EnableWindow(TRUE);
    m_lambda.EnableWindow(TRUE);
    m_lambda.SetWindowText(text);
    m_gas.EnableWindow(TRUE);
    FillGasChoices();
    m_gas.SetCurSel(bytes[1] != 0 ? 0 : 1);
    m_time.EnableWindow(TRUE);
    text.Format("%d", LittleEndianWord(bytes + 2));
    m_time.SetWindowText(text);
    return 0;
}

LRESULT CPhaseTestPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    const int status = static_cast<int>(wParam);
    if (IsLinkUp(status)) {
        m_phase.EnableWindow(TRUE);
        return 0;
    }
    m_phase.EnableWindow(FALSE);
    EnableValues(FALSE);
    ClearValues();
    return 0;
}

void CPhaseTestPage::OnSend() {
    const int phase = Selected(m_phase);
    const CLocaleNumberFormat format =
        CLocaleNumberFormat::FromLocale(m_resources != nullptr ? m_resources->GetLanguageId() : 0);
    const CString invalid = LoadText(m_resources, kInvalidElementText);
    const CString range = LoadText(m_resources, kOutOfRangeText);
    CString text;
    CString message;
    int lambda = 0;
    int time = 0;
    m_lambda.GetWindowText(text);
    if (CNumberInput::CheckLambda(format, text, invalid, range, lambda, message)) {
        const int gas = Selected(m_gas);
        m_time.GetWindowText(text);
        if (CNumberInput::CheckNumber(format, text, CNumberInput::kTimeLow, CNumberInput::kTimeHigh, invalid,
                                      range, time, message)) {
            SendPhase(phase, lambda, gas, time);
            message = "OK";
        }
    }
    AfxMessageBox(message, MB_OK);
}

void CPhaseTestPage::SendPhase(int phase, int lambda, int gas, int time) {
    m_writeRequest.fill(0);
    m_writeRequest[0] = static_cast<BYTE>(phase);
    m_writeRequest[1] = static_cast<BYTE>(lambda);
    m_writeRequest[2] = static_cast<BYTE>(gas != 0 ? 0xFF : 0x00);
    m_writeRequest[3] = static_cast<BYTE>(time & 0xFF);
    m_writeRequest[4] = static_cast<BYTE>((time >> 8) & 0xFF);
    if (m_dataHandler != nullptr) {
        m_dataHandler->RequestCommand(kElement, m_writeRequest.data());
    }
}

BOOL CPhaseTestPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != 0 || LOWORD(wParam) != IDCANCEL) {
        return CScrollPage::OnCommand(wParam, lParam);
    }
    CWnd* focus = GetFocus();
    const int focusId = focus != nullptr && focus->GetParent() == this ? focus->GetDlgCtrlID() : 0;
    CEdit* edit = focusId == kLambdaId ? &m_lambda : focusId == kTimeId ? &m_time : nullptr;
    if (edit == nullptr || !edit->CanUndo()) {
        return CScrollPage::OnCommand(wParam, lParam);
    }
    edit->Undo();
    edit->EmptyUndoBuffer();
    return TRUE;
}
