#include "diag/CObdAdaptationPage.h"

#include "classlib/core/CProcessClock.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CFont.h"
#include "diag/CObdAdaptationTexts.h"
#include "forms/CFontCache.h"
#include "forms/GetScaledFontHeight.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"
#include "link/DataHandlerMessages.h"

#include <cstring>

namespace {

constexpr int kCrankAngleElement = 6;
constexpr int kSpeedElement = 26;
constexpr int kInjectionElement = 27;
constexpr int kEngineStatusElement = 30;
constexpr int kMinInjectionElement = 50;
constexpr int kSupportElement = 79;
constexpr int kObdBlockElement = 95;
constexpr int kSwitchElement = 98;

constexpr int kReasonLoadedWhole = 0x1;
constexpr int kStatusConnected = 2;
constexpr int kStatusJammed = 4;
constexpr BYTE kBlankBit = 0x80;
constexpr BYTE kAdaptationOnBit = 0x80;
constexpr BYTE kBlinkExtraBit = 0x40;
constexpr BYTE kBank1Bit = 0x10;
constexpr BYTE kBank2Bit = 0x20;

constexpr COLORREF kFailureColour = RGB(0xF7, 0x03, 0x2F);
constexpr COLORREF kMarkerOn = RGB(0x3E, 0xE8, 0x11);

constexpr char kOnText[] = "Adaptation ON";
constexpr char kOffText[] = "Adaptation OFF";

struct Label {
    int id;
    const char* text;
};

constexpr Label kLabels[] = {{2701, "Status:"},        {2703, "data (%)"}, {2704, "trim 1:"},
                             {2707, "trim 2:"},        {2710, "Bank 1:"},  {2713, "Bank 2:"},
                             {2716, "calculated (%)"}, {2717, "base:"},    {2719, "long:"},
                             {2721, "sum:"},           {2724, "Load:"},    {2726, "Trim factor:"}};

constexpr int kValueFontTenths = 66;
constexpr int kButtonFontTenths = 63;

int Signed(BYTE value) {
    return static_cast<signed char>(value);
}

}  // namespace

BEGIN_MESSAGE_MAP(CObdAdaptationPage, CDialog)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_BN_CLICKED(CObdAdaptationPage::kButtonId, OnButtonClicked)
END_MESSAGE_MAP()

CObdAdaptationPage::CObdAdaptationPage(CWnd* parent) : CDialog(kTemplateId, parent) {}

CObdAdaptationPage::~CObdAdaptationPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    m_dataHandler->Unsubscribe(this, kSupportElement, 1);
    m_dataHandler->Unsubscribe(this, kCrankAngleElement, 1 | 2);
    m_dataHandler->Unsubscribe(this, kMinInjectionElement, 1 | 2);
}

void CObdAdaptationPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        ::PostMessageA(window, message, wParam, lParam);
    }
}

void CObdAdaptationPage::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kLinkId, m_link);
    for (int i = 0; i < 4; ++i) {
        DDX_Control(exchange, kTrimIds[i], m_trims[i]);
    }
    for (int i = 0; i < 2; ++i) {
        DDX_Control(exchange, kBankTextIds[i], m_bankTexts[i]);
        DDX_Control(exchange, kBankMarkerIds[i], m_bankMarkers[i]);
    }
    DDX_Control(exchange, kBaseId, m_base);
    DDX_Control(exchange, kLongId, m_long);
    DDX_Control(exchange, kSumId, m_sum);
    DDX_Control(exchange, kExtraId, m_extra);
    DDX_Control(exchange, kLoadId, m_load);
    DDX_Control(exchange, kTrimFactorId, m_trimFactor);
    DDX_Control(exchange, kButtonId, m_button);
}

BOOL CObdAdaptationPage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_status = -1;
    m_supported = false;
    m_bankStates = {0, 0};
    m_model = CObdAdaptationModel();
    for (int i = 0; i < 2; ++i) {
        m_bankTips[i].Create(this);
        m_bankTips[i].AddTool(&m_bankTexts[i], " ");
        m_bankTips[i].Activate(TRUE);
    }
    Blank();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kSupportElement, 1);
        m_dataHandler->Subscribe(this, kCrankAngleElement, 1 | 2);
        m_dataHandler->Subscribe(this, kMinInjectionElement, 1 | 2);
    }
    Layout();
    UpdateTexts();
    return TRUE;
}

void CObdAdaptationPage::Layout() {
    if (m_placement.right > m_placement.left && m_placement.bottom > m_placement.top) {
        MoveWindow(m_placement.left, m_placement.top, m_placement.right - m_placement.left,
                   m_placement.bottom - m_placement.top, TRUE);
    }
    SetFonts();
}

void CObdAdaptationPage::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    const auto font = [this](const char* face, int tenths) -> CFont* {
        LOGFONTA request;
        std::memset(&request, 0, sizeof(request));
        CClientDC dc(this);
        request.lfHeight = GetScaledFontHeight(&dc, face, tenths, m_scaleX, m_scaleY);
        std::strncpy(request.lfFaceName, face, LF_FACESIZE - 1);
        return m_fonts->GetFont(&request);
    };
    CFont* values = font("Arial", kValueFontTenths);
    CFont* button = font("Verdana", kButtonFontTenths);
    if (values == nullptr || button == nullptr) {
        CLogger::Instance().Log(3000, "CObdAdaptationPage::SetFonts(): no font.");
        return;
    }
    SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*values)), FALSE);
    m_button.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*button)), FALSE);
}

void CObdAdaptationPage::UpdateTexts() {
    for (const Label& label : kLabels) {
        GetDlgItem(label.id)->SetWindowText(label.text);
    }
    m_button.SetWindowText(m_button.GetCheck() == BST_CHECKED ? kOnText : kOffText);
}

BOOL CObdAdaptationPage::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
        for (CTableToolTipCtrl& tip : m_bankTips) {
            if (tip.GetSafeHwnd() != nullptr) {
                tip.RelayEvent(msg);
            }
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

BOOL CObdAdaptationPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

// ---- Showing ----------------------------------------------------------------------------------

void CObdAdaptationPage::ShowNumber(CStaticExtended& field, int value) {
    CString text;
    text.Format("%d", value);
    field.SetWindowText(text);
}

void CObdAdaptationPage::Blank() {
    if (GetFocus() == &m_button ||
        (GetFocus() != nullptr && GetFocus()->GetSafeHwnd() == m_button.GetSafeHwnd())) {
        SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    }
    m_button.SetActive(FALSE);
    m_button.SetCheck(BST_UNCHECKED);
    m_button.Blink(FALSE);
    m_buttonBlinking = false;
    m_button.EnableWindow(FALSE);
    m_button.SetWindowText(kOffText);
    ShowLink();
    for (CStaticExtended* field : {&m_trims[0], &m_trims[1], &m_trims[2], &m_trims[3], &m_base, &m_long,
                                   &m_sum, &m_extra, &m_load, &m_trimFactor}) {
        field->SetWindowText("0");
    }
    m_extra.Blink(FALSE);
    m_sum.SetTextColor(RGB(0, 0, 0));
    ShowBanks();
}

void CObdAdaptationPage::ShowLink() {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    if (m_status < 0) {
        m_link.SetWindowText("");
        m_bankMarkers[0].SetBkColor(face);
        m_bankMarkers[1].SetBkColor(face);
        return;
    }
    const int shown = m_model.ShowLink(m_status & 0x0F, CProcessClock::ElapsedMs());
    const char* text = CObdAdaptationTexts::LinkText(shown);
    m_link.SetWindowText(text != nullptr ? text : "");
    if (shown != CObdAdaptationTexts::kLinkConnected) {
        m_bankMarkers[0].SetBkColor(face);
        m_bankMarkers[1].SetBkColor(face);
        return;
    }
    m_bankMarkers[0].SetBkColor((m_status & kBank1Bit) != 0 ? kMarkerOn : kFailureColour);
    m_bankMarkers[1].SetBkColor((m_status & kBank2Bit) != 0 ? kMarkerOn : kFailureColour);
}

void CObdAdaptationPage::ShowBanks() {
    for (int i = 0; i < 2; ++i) {
        const CString text = CObdAdaptationTexts::FuelSystemText(m_bankStates[i]);
        const int lineBreak = text.Find('\n');
        m_bankTexts[i].SetWindowText(lineBreak < 0 ? text : text.Left(lineBreak));
        m_bankTexts[i].SetTextColor(CObdAdaptationTexts::IsFuelSystemFailure(m_bankStates[i])
                                        ? kFailureColour
                                        : ::GetSysColor(COLOR_BTNTEXT));
        if (m_bankTips[i].GetSafeHwnd() == nullptr) {
            continue;
        }
        if (lineBreak >= 0) {
            m_bankTips[i].SetTableText(text);
        }
        m_bankTips[i].Activate(lineBreak >= 0 ? TRUE : FALSE);
    }
}

void CObdAdaptationPage::SetButton(const CObdAdaptationModel::Button& button) {
    m_button.EnableWindow(TRUE);
    m_button.SetWindowText(button.showsOn ? kOnText : kOffText);
    m_button.SetCheck(button.pressed ? BST_CHECKED : BST_UNCHECKED);
    if (button.blinking != m_buttonBlinking) {
        m_button.Blink(button.blinking ? TRUE : FALSE);
        m_buttonBlinking = button.blinking;
    }
    m_button.SetActive(button.blinking ? FALSE : TRUE);
    if (!button.blinking) {
        m_button.SetTextColor(button.textColour);
    }
    m_button.Invalidate();
}

// ---- Messages -------------------------------------------------------------------------------

LRESULT CObdAdaptationPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    const int element = LOWORD(lParam);
    BYTE bytes[2] = {};
    if (element == kCrankAngleElement) {
        m_dataHandler->ReadData(element, bytes);
        m_crankAngle = bytes[0] * 10;
    } else if (element == kMinInjectionElement) {
        m_dataHandler->ReadData(element, bytes);
        m_minInjection = bytes[0] | (bytes[1] << 8);
    } else if (element == kSupportElement && HIWORD(lParam) == kReasonLoadedWhole) {
        m_dataHandler->ReadData(element, bytes);
        m_supported = bytes[0] != 0;
    }
    return 0;
}

LRESULT CObdAdaptationPage::OnNewData(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    BYTE status[5] = {};
    m_dataHandler->ReadData(kEngineStatusElement, status);
    if ((status[1] & kBlankBit) != 0) {
        if (!m_blank) {
            m_blank = true;
            Blank();
        }
        return 0;
    }
    m_blank = false;
    if (!m_supported) {
        return 0;
    }
    ShowLiveBlock();
    return 0;
}

void CObdAdaptationPage::ShowLiveBlock() {
    BYTE speedBytes[2] = {};
    m_dataHandler->ReadData(kSpeedElement, speedBytes);
    const int speed = speedBytes[0] | (speedBytes[1] << 8);
    BYTE timeBytes[2 * CObdAdaptationModel::kInjectors] = {};
    m_dataHandler->ReadData(kInjectionElement, timeBytes);
    int times[CObdAdaptationModel::kInjectors] = {};
    for (int i = 0; i < CObdAdaptationModel::kInjectors; ++i) {
        times[i] = timeBytes[2 * i] | (timeBytes[2 * i + 1] << 8);
    }
    const int average = CObdAdaptationModel::FoldInjectionTimes(times);

    BYTE block[16] = {};
    m_dataHandler->ReadData(kObdBlockElement, block);
    ShowNumber(m_base, Signed(block[4]));
    ShowNumber(m_long, Signed(block[5]));
    ShowNumber(m_extra, Signed(block[9]));
    const int sum = Signed(block[4]) + Signed(block[5]);
    ShowNumber(m_sum, sum);
    const int classification = ClassifyRevInjection(speed, average, sum, m_crankAngle, m_minInjection);
    m_sum.SetTextColor(static_cast<COLORREF>(CObdAdaptationModel::SumColour(classification)));

    m_status = block[6];
    ShowLink();
    if (m_model.GetShownLink() == CObdAdaptationTexts::kLinkConnected) {
        for (int i = 0; i < 4; ++i) {
            ShowNumber(m_trims[i], Signed(block[i]));
        }
        m_bankStates = {block[8], block[7]};
    } else {
        for (CStaticExtended& trim : m_trims) {
            trim.SetWindowText("0");
        }
        m_bankStates = {0, 0};
    }
    const bool answered = m_dataHandler->IsReadSupported(kObdBlockElement) >= 1;
    if (answered) {
        ShowNumber(m_load, block[10]);
        ShowNumber(m_trimFactor, block[11]);
    } else {
        m_load.SetWindowText("-");
        m_trimFactor.SetWindowText("-");
    }
    ShowBanks();
    SetButton(m_model.DecideButton((m_status & kAdaptationOnBit) != 0));
    m_extra.Blink((m_status & kBlinkExtraBit) != 0 ? TRUE : FALSE);
}

LRESULT CObdAdaptationPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    const int status = static_cast<int>(wParam);
    if (status == kStatusConnected || status == kStatusJammed) {
        return 0;
    }
    m_status = -1;
    m_model.ForgetStatus();
    m_bankStates = {0, 0};
    Blank();
    return 0;
}

LRESULT CObdAdaptationPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    Blank();
    UpdateTexts();
    return 0;
}

void CObdAdaptationPage::OnButtonClicked() {
    const bool pressed = m_button.GetCheck() == BST_CHECKED;
    const BYTE command = m_model.RequestSwitch(pressed);
    if (m_dataHandler != nullptr) {
        m_dataHandler->WriteData(kSwitchElement, &command);
    }
}
