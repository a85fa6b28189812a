#include "diag/CObdAdaptationPage.h"

#include "classlib/core/CProcessClock.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CFont.h"
#include "diag/CObdAdaptationTexts.h"
#include "diag/UnitBytes.h"
#include "forms/MoveFocusOff.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

#include <algorithm>
#include <initializer_list>

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
constexpr BYTE kBlankBit = 0x80;
constexpr BYTE kAdaptationOnBit = 0x80;
constexpr BYTE kBlinkExtraBit = 0x40;
constexpr BYTE kBank1Bit = 0x10;
constexpr BYTE kBank2Bit = 0x20;

constexpr COLORREF kFailureColour = RGB(0xF7, 0x03, 0x2F);
constexpr COLORREF kMarkerOn = RGB(0x3E, 0xE8, 0x11);

constexpr UINT kOnText = 15211;   // "Adaptation ON"
constexpr UINT kOffText = 15212;  // "Adaptation OFF"

struct Label {
    int id;
    UINT textId;
};

constexpr Label kLabels[] = {{2701, 15188}, {2704, 15190}, {2707, 15191}, {2710, 15192}, {2713, 15193},
                             {2717, 15195}, {2719, 15196}, {2721, 15197}, {2724, 15209}, {2726, 15210}};

// The groups' captions: "data" and "calculated", with the unit that both groups show.
constexpr Label kGroups[] = {{2703, 15189}, {2716, 15194}};
constexpr char kGroupUnit[] = " (%)";
// The widest values the fields show in practice: percents of two digits, their sum, and
// the load and trim factor bytes.
constexpr char kWidestPercent[] = "-99";
constexpr char kWidestSum[] = "-198";
constexpr char kWidestByte[] = "255";

constexpr int kStatusLabelId = 2701;
constexpr int kDataGroupId = 2703;
constexpr int kTrimLabelIds[2] = {2704, 2707};
constexpr int kBankLabelIds[2] = {2710, 2713};
constexpr int kCalculatedGroupId = 2716;
constexpr int kBaseLabelId = 2717;
constexpr int kLongLabelId = 2719;
constexpr int kSumLabelId = 2721;
constexpr int kLoadLabelId = 2724;
constexpr int kTrimFactorLabelId = 2726;

constexpr int kTextFontTenths = 66;
constexpr int kButtonFontTenths = 63;

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

void CObdAdaptationPage::ShowAt(CWnd* owner, int left, int top, int right, int bottom) {
    SetPlacement(left, top, right, bottom);
    if (GetSafeHwnd() != nullptr) {
        return;
    }
    Create(kTemplateId, owner);
    ShowWindow(SW_SHOW);
}

void CObdAdaptationPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
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
    CFont* labels =
        GetCachedFont(m_fonts, this, "MS Shell Dlg", kTextFontTenths, m_scaleX, m_scaleY, FW_NORMAL);
    CFont* values = GetCachedFont(m_fonts, this, "Arial", kTextFontTenths, m_scaleX, m_scaleY, FW_NORMAL);
    CFont* button = GetCachedFont(m_fonts, this, "Verdana", kButtonFontTenths, m_scaleX, m_scaleY, FW_NORMAL);
    if (labels == nullptr || values == nullptr || button == nullptr) {
        CLogger::Instance().Log(3000, "CObdAdaptationPage::SetFonts(): no font.");
        return;
    }
    SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*values)), FALSE);
    for (const Label& label : kLabels) {
        GetDlgItem(label.id)->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*labels)),
                                          FALSE);
    }
    for (const Label& group : kGroups) {
        GetDlgItem(group.id)->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*labels)),
                                          FALSE);
    }
    m_button.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*button)), FALSE);
}

// The room that a label needs for its text in its font.
CSize CObdAdaptationPage::LabelExtent(int id) {
    CString text;
    GetDlgItem(id)->GetWindowText(text);
    return TextExtent(id, text);
}

// The room that a text needs in the font of a control.
CSize CObdAdaptationPage::TextExtent(int id, const CString& text) {
    CWnd* label = GetDlgItem(id);
    CClientDC dc(label);
    const HFONT font = reinterpret_cast<HFONT>(label->SendMessage(WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? ::SelectObject(dc.GetSafeHdc(), font) : nullptr;
    const CSize extent = dc.GetTextExtent(text);
    if (previous != nullptr) {
        ::SelectObject(dc.GetSafeHdc(), previous);
    }
    return CSize(extent.cx + 1, extent.cy);
}

int CObdAdaptationPage::LabelWidth(int id) {
    return LabelExtent(id).cx;
}

// The rows at the owner's scale; when they are taller than the panel, they close up as far
// as the text height allows.
void CObdAdaptationPage::PlaceControls() {
    RECT client = {};
    GetClientRect(&client);
    const int bottom = PlaceRows(m_scaleY);
    if (bottom > client.bottom && bottom > 0) {
        PlaceRows(m_scaleY * client.bottom / bottom);
    }
    Invalidate(TRUE);
}

// Rows of labels and values inside the panel, vertically at scaleY; every label takes the
// width of its text in the current language, so that none is cut, and every row the height
// of its text at least. Returns the bottom of the last control.
int CObdAdaptationPage::PlaceRows(double scaleY) {
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const auto x = [this](double units) { return ScaledLength(units, m_scaleX); };
    const auto y = [scaleY](double units) { return ScaledLength(units, scaleY); };
    const int pad = x(2);
    const int gap = x(2);
    const auto valueWidth = [&](const char* widest) {
        return std::max(x(10), static_cast<int>(TextExtent(kBaseId, widest).cx));
    };
    const int percentWidth = valueWidth(kWidestPercent);
    const int textHeight = std::max(LabelExtent(kStatusLabelId).cy, LabelExtent(kBaseId).cy);
    const int rowHeight = std::max(y(11), textHeight + 1);
    const int rowStep = rowHeight + y(1);
    const int captionHeight = std::max(y(10), rowHeight - y(1));
    const auto place = [&](int id, int left, int top, int w, int h) {
        GetDlgItem(id)->MoveWindow(left, top, std::max(w, 1), h, FALSE);
    };
    // A label and its values from left on; returns where the next pair starts.
    const auto pair = [&](int labelId, int labelWidth, std::initializer_list<int> valueIds, int fieldWidth,
                          int left, int top) {
        place(labelId, left, top, labelWidth, rowHeight);
        left += labelWidth + gap;
        for (const int id : valueIds) {
            place(id, left, top, fieldWidth, rowHeight);
            left += fieldWidth + gap;
        }
        return left + gap;
    };
    // A group box around the rows from its top to the row above `top`; returns the next top.
    const auto group = [&](int id, int groupTop, int top) {
        const int height = top - rowStep + rowHeight + y(2) - groupTop;
        place(id, 0, groupTop, width, height);
        return groupTop + height + y(2);
    };

    int top = 0;
    const int statusWidth = LabelWidth(kStatusLabelId);
    place(kStatusLabelId, pad, top, statusWidth, rowHeight);
    place(kLinkId, pad + statusWidth + gap, top, width - 2 * pad - statusWidth - gap, rowHeight);
    top += rowStep;

    const int dataTop = top;
    top += captionHeight;
    const int trimWidth = std::max(LabelWidth(kTrimLabelIds[0]), LabelWidth(kTrimLabelIds[1]));
    const int bankWidth = std::max(LabelWidth(kBankLabelIds[0]), LabelWidth(kBankLabelIds[1]));
    const int markerWidth = x(7);
    const int markerLeft = width - pad - markerWidth;
    for (int bank = 0; bank < 2; ++bank) {
        const int left = pair(kTrimLabelIds[bank], trimWidth, {kTrimIds[2 * bank], kTrimIds[2 * bank + 1]},
                              percentWidth, pad, top);
        place(kBankLabelIds[bank], left, top, bankWidth, rowHeight);
        const int textLeft = left + bankWidth + gap;
        place(kBankTextIds[bank], textLeft, top, markerLeft - gap - textLeft, rowHeight);
        place(kBankMarkerIds[bank], markerLeft, top + y(2), markerWidth, rowHeight - y(4));
        top += rowStep;
    }
    top = group(kDataGroupId, dataTop, top);

    const int calculatedTop = top;
    top += captionHeight;
    int left = pair(kBaseLabelId, LabelWidth(kBaseLabelId), {kBaseId}, percentWidth, pad, top);
    left = pair(kLongLabelId, LabelWidth(kLongLabelId), {kLongId}, percentWidth, left, top);
    left = pair(kSumLabelId, LabelWidth(kSumLabelId), {kSumId}, valueWidth(kWidestSum), left, top);
    place(kExtraId, left, top, percentWidth, rowHeight);
    top += rowStep;
    top = group(kCalculatedGroupId, calculatedTop, top);

    const int byteWidth = valueWidth(kWidestByte);
    left = pair(kLoadLabelId, LabelWidth(kLoadLabelId), {kLoadId}, byteWidth, pad, top);
    pair(kTrimFactorLabelId, LabelWidth(kTrimFactorLabelId), {kTrimFactorId}, byteWidth, left, top);
    top += rowStep;
    const int buttonWidth = x(72);
    const int buttonHeight = std::max(y(15), static_cast<int>(LabelExtent(kButtonId).cy) + 4);
    place(kButtonId, width - pad - buttonWidth, top, buttonWidth, buttonHeight);
    return top + buttonHeight;
}

void CObdAdaptationPage::UpdateTexts() {
    for (const Label& label : kLabels) {
        GetDlgItem(label.id)->SetWindowText(LoadText(m_resources, label.textId));
    }
    for (const Label& group : kGroups) {
        GetDlgItem(group.id)->SetWindowText(LoadText(m_resources, group.textId) + kGroupUnit);
    }
    m_button.SetWindowText(LoadText(m_resources, m_button.GetCheck() == BST_CHECKED ? kOnText : kOffText));
    PlaceControls();
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
    MoveFocusOff(*this, {&m_button});
    m_button.SetActive(FALSE);
    m_button.SetCheck(BST_UNCHECKED);
    m_button.Blink(FALSE);
    m_buttonBlinking = false;
    m_button.EnableWindow(FALSE);
    m_button.SetWindowText(LoadText(m_resources, kOffText));
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
    m_button.SetWindowText(LoadText(m_resources, button.showsOn ? kOnText : kOffText));
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
        m_minInjection = LittleEndianWord(bytes);
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
    const int speed = LittleEndianWord(speedBytes);
    BYTE timeBytes[2 * CObdAdaptationModel::kInjectors] = {};
    m_dataHandler->ReadData(kInjectionElement, timeBytes);
    int times[CObdAdaptationModel::kInjectors] = {};
    for (int i = 0; i < CObdAdaptationModel::kInjectors; ++i) {
        times[i] = LittleEndianWord(timeBytes + 2 * i);
    }
    const int average = CObdAdaptationModel::FoldInjectionTimes(times);

    BYTE block[16] = {};
    m_dataHandler->ReadData(kObdBlockElement, block);
    ShowNumber(m_base, SignedByte(block[4]));
    ShowNumber(m_long, SignedByte(block[5]));
    ShowNumber(m_extra, SignedByte(block[9]));
    const int sum = SignedByte(block[4]) + SignedByte(block[5]);
    ShowNumber(m_sum, sum);
    const int classification = ClassifyRevInjection(speed, average, sum, m_crankAngle, m_minInjection);
    m_sum.SetTextColor(static_cast<COLORREF>(CObdAdaptationModel::SumColour(classification)));

    m_status = block[6];
    ShowLink();
    if (m_model.GetShownLink() == CObdAdaptationTexts::kLinkConnected) {
        for (int i = 0; i < 4; ++i) {
            ShowNumber(m_trims[i], SignedByte(block[i]));
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
    if (IsLinkUp(status)) {
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
