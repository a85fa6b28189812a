#include "config/CConfigStatus.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CScopedSelect.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "res/ResourceIds.h"

#include <algorithm>
#include <cstring>

namespace {

// Texts of the string table.
constexpr UINT kPetrolText = 15093;
constexpr UINT kGasText = 15094;
constexpr UINT kDiagnosisText = 15095;
constexpr UINT kInjectionTipHeader = 15106;  // "#\t\rcPETROL\t\rcGAS\n"
constexpr UINT kPressureTipText = 15107;     // "\lcACTUAL PRESSES\n..." with three %s

struct LabelText {
    int controlId;
    UINT textId;
};

constexpr LabelText kLabels[] = {
    {1510, 15048}, {1511, 15097}, {1512, 15098}, {1513, 15099}, {1520, 15100}, {1523, 15101}, {1526, 15102},
    {1530, 15103}, {1533, 15104}, {1536, 15102}, {1540, 15102}, {1543, 15105}, {1545, 15101}, {1522, 15075},
    {1525, 15076}, {1528, 15077}, {1532, 15078}, {1535, 15078}, {1538, 15077}, {1542, 15077}, {1547, 15076},
};

constexpr int kSpeedElement = 26;
constexpr int kPetrolTimesElement = 27;
constexpr int kGasTimesElement = 28;
constexpr int kGasPressureElement = 29;
constexpr int kEngineStatusElement = 30;
constexpr int kEngineTempElement = 31;
constexpr int kFuelRequestElement = 32;
constexpr int kLambdaVoltageElement = 33;
constexpr int kSensorTypeElement = 35;
constexpr int kLambdaStateElement = 54;
constexpr int kEnginePressureElement = 58;
constexpr int kNoPressureElement = 59;
constexpr int kGasLevelElement = 60;
constexpr int kGasTempElement = 90;

constexpr int kNoEnginePressure = 5000;
constexpr BYTE kPetrolRequest = 0;
constexpr BYTE kGasRequest = 170;
constexpr int kTransferFinished = 0x4;
constexpr int kLogButtons = 2000;

constexpr COLORREF kRich = RGB(255, 102, 0);
constexpr COLORREF kLean = RGB(0, 119, 255);
constexpr COLORREF kGreen = RGB(62, 232, 17);
constexpr COLORREF kRed = RGB(247, 3, 47);
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kCycleTime = RGB(192, 32, 32);
constexpr COLORREF kDiagnosisColours[] = {0, RGB(108, 191, 143), RGB(255, 155, 96), RGB(247, 85, 81)};

// Shared by the whole program: the unit reports its idle state once for all windows.
bool g_idleShown = false;

int ReadWord(const BYTE* bytes) {
    return bytes[0] | (bytes[1] << 8);
}

CString Hundredths(double value, LPCSTR format) {
    return FormatText(format, value);
}

}  // namespace

BEGIN_MESSAGE_MAP(CConfigStatus, CDialog)
    ON_WM_PAINT()
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(CConfigStatus::kPetrolButtonId, OnBenzin)
    ON_BN_CLICKED(CConfigStatus::kGasButtonId, OnGas)
    ON_BN_CLICKED(CConfigStatus::kDiagnosisButtonId, OnDiagnosis)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_MESSAGE(WM_DH_EVENTLOG_CHANGED, OnEventLogChanged)
END_MESSAGE_MAP()

CConfigStatus::CConfigStatus() : CDialog(kTemplateId, nullptr) {}

CConfigStatus::~CConfigStatus() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    m_dataHandler->Unsubscribe(this, kFuelRequestElement, 4);
    m_dataHandler->Unsubscribe(this, kSensorTypeElement, 1 | 2);
}

void CConfigStatus::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CConfigStatus::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kPetrolButtonId, m_petrolButton);
    DDX_Control(exchange, kGasButtonId, m_gasButton);
    DDX_Control(exchange, kDiagnosisButtonId, m_diagnosisButton);
    DDX_Control(exchange, kSeparatorId, m_separator);
    DDX_Control(exchange, kPetrolTimeId, m_petrolTime);
    DDX_Control(exchange, kGasTimeId, m_gasTime);
    DDX_Control(exchange, kGasLevelId, m_gasLevel);
    DDX_Control(exchange, kLambdaId, m_lambda);
    DDX_Control(exchange, kLambdaStateId, m_lambdaState);
}

BOOL CConfigStatus::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pending = false;
    m_sensorType = 0;
    m_gasLevel.SetSegmentCount(5);
    m_gasLevel.SetColors(kGrey, kRed, kGrey, kGreen);
    m_gasLevel.SetLayout(0.05, 0.05, 0.1, 0.75);
    ResetDisplay();
    m_lastFuelState = -1;
    m_diagnosisState = 0;
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kFuelRequestElement, 4);
        m_dataHandler->Subscribe(this, kSensorTypeElement, 1 | 2);
    }
    Layout();
    CreateToolTips();
    return TRUE;
}

void CConfigStatus::SetItemText(int id, LPCSTR text) {
    CWnd* item = GetDlgItem(id);
    if (item != nullptr) {
        item->SetWindowText(text);
    }
}

// ---- Layout, texts and tooltips --------------------------------------------------------------

void CConfigStatus::Layout() {
    CWnd* parent = GetParent();
    if (parent == nullptr) {
        return;
    }
    RECT area = {};
    parent->GetClientRect(&area);
    const double sx = (area.right - area.left) / 620.0;
    const double sy = (area.bottom - area.top) / 440.0;
    const int height = ScaledLength(94, sy);
    MoveWindow(0, area.bottom - ScaledLength(24, sy) - height, area.right - area.left, height, TRUE);

    const int m = ScaledLength(4, sx);
    const int top = ScaledLength(4, sy);
    const int buttonWidth = ScaledLength(90, sx);
    const int buttonHeight = ScaledLength(24, sy);
    m_petrolButton.MoveWindow(m, top, buttonWidth, buttonHeight, FALSE);
    m_gasButton.MoveWindow(m, top + buttonHeight + ScaledLength(2, sy), buttonWidth, buttonHeight, FALSE);
    const int separatorTop = top + 2 * buttonHeight + ScaledLength(5, sy);
    m_separator.MoveWindow(m, separatorTop, buttonWidth, ScaledLength(2, sy), FALSE);
    m_diagnosisButton.MoveWindow(m, separatorTop + ScaledLength(5, sy), buttonWidth, ScaledLength(24, sy),
                                 FALSE);

    // Four groups from left to right, each with three rows of label, value and unit.
    struct GroupRows {
        int group;
        int rows[3][3];  // label, value, unit; 0 where none
    };

    const GroupRows groups[] = {
        {1510, {{1520, kSpeedId, 1522}, {1523, kEngineTempId, 1525}, {1526, kEnginePressId, 1528}}},
        {1511, {{1530, kPetrolTimeId, 1532}, {1533, kGasTimeId, 1535}, {1536, kInjectionPressId, 1538}}},
        {1512, {{1540, kGasPressId, 1542}, {1543, kGasLevelId, 0}, {1545, kGasTempId, 1547}}},
        {1513, {{0, kLambdaId, 0}, {0, kLambdaStateId, 0}, {0, 0, 0}}},
    };
    const int groupsLeft = m + buttonWidth + ScaledLength(8, sx);
    const int groupWidth = (area.right - area.left - groupsLeft - m) / 4;
    const int groupHeight = height - 2 * top;
    const int rowHeight = ScaledLength(16, sy);
    const int labelWidth = groupWidth * 2 / 5;
    // The unit column takes the room its widest text needs ("1/min" at a large scale) from
    // the values, whose digits need less than their share.
    CFont* small = GetCachedFont(m_fonts, this, "Verdana", 80, sx, sy);
    static const int kUnitIds[] = {1522, 1525, 1528, 1532, 1535, 1538, 1542, 1547};
    const int shareWidth = groupWidth - labelWidth - (groupWidth * 2 / 5 - ScaledLength(6, sx)) - ScaledLength(12, sx);
    const int unitWidth = std::max(shareWidth, WidestText(kUnitIds, 8, small));
    const int valueWidth = groupWidth - labelWidth - unitWidth - ScaledLength(12, sx);
    for (int g = 0; g < 4; ++g) {
        const int x = groupsLeft + g * groupWidth;
        GetDlgItem(groups[g].group)->MoveWindow(x, top, groupWidth - ScaledLength(4, sx), groupHeight, FALSE);
        for (int r = 0; r < 3; ++r) {
            const int y = top + ScaledLength(16, sy) + r * (rowHeight + ScaledLength(6, sy));
            const int* row = groups[g].rows[r];
            if (row[0] != 0) {
                GetDlgItem(row[0])->MoveWindow(x + ScaledLength(4, sx), y, labelWidth, rowHeight, FALSE);
            }
            if (row[1] != 0) {
                const int valueX =
                    row[0] != 0 ? x + ScaledLength(4, sx) + labelWidth : x + ScaledLength(8, sx);
                const int width = row[0] != 0 ? valueWidth : groupWidth - ScaledLength(20, sx);
                GetDlgItem(row[1])->MoveWindow(valueX, y, width, rowHeight, FALSE);
            }
            if (row[2] != 0) {
                GetDlgItem(row[2])->MoveWindow(
                    x + ScaledLength(4, sx) + labelWidth + valueWidth + ScaledLength(2, sx), y,
                    unitWidth, rowHeight, FALSE);
            }
        }
    }

    CFont* large = GetCachedFont(m_fonts, this, "Verdana", 100, sx, sy);
    if (small != nullptr) {
        SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*small)), FALSE);
    }
    if (large != nullptr) {
        for (CWnd* button : {static_cast<CWnd*>(&m_petrolButton), static_cast<CWnd*>(&m_gasButton),
                             static_cast<CWnd*>(&m_diagnosisButton)}) {
            button->SetFont(*large, FALSE);
        }
    }
    m_petrolButton.SetTextColor(RGB(255, 155, 96));
    m_gasButton.SetTextColor(kGreen);
    m_gasButton.SetHighlightColors(::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNFACE));
    m_gasButton.SetBlinkInterval(444);
    UpdateTexts();
    Invalidate(TRUE);
}

// The width the widest of the controls' texts needs in the font.
int CConfigStatus::WidestText(const int* ids, int count, CFont* font) {
    CClientDC dc(this);
    CScopedSelect scoped(dc, font != nullptr ? font->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        CWnd* control = GetDlgItem(ids[i]);
        if (control == nullptr) {
            continue;
        }
        CString text;
        control->GetWindowText(text);
        widest = std::max(widest, static_cast<int>(dc.GetTextExtent(text).cx) + 2);
    }
    return widest;
}

void CConfigStatus::UpdateTexts() {
    SetItemText(kPetrolButtonId, LoadText(m_resources, kPetrolText));
    SetItemText(kGasButtonId, LoadText(m_resources, kGasText));
    SetItemText(kDiagnosisButtonId, LoadText(m_resources, kDiagnosisText));
    for (const LabelText& label : kLabels) {
        SetItemText(label.controlId, LoadText(m_resources, label.textId));
    }
    const CString zero = Hundredths(0, "%.2f");
    ShowPressureTip(zero, zero, zero);
}

void CConfigStatus::CreateToolTips() {
    struct TipSetup {
        CTableToolTipCtrl* tips;
        int margins[4];
        const char* templates;
        std::initializer_list<int> tools;
    };

    const TipSetup setups[] = {
        {&m_injectionTips, {1, 1, 1, 1}, "W\tWWWWI\tWWWWI", {kPetrolTimeId, kGasTimeId}},
        {&m_pressureTips,
         {3, 1, 3, 1},
         "WWWWWWWWW\tWWWWII",
         {kEnginePressId, kInjectionPressId, kGasPressId}},
    };
    for (const TipSetup& setup : setups) {
        if (!setup.tips->Create(this)) {
            CLogger::Instance().Log(3000, "CConfigStatus: a tooltip could not be created.");
            continue;
        }
        setup.tips->SetDelayTime(TTDT_AUTOPOP, 0x7FFF);
        setup.tips->SetDelayTime(TTDT_INITIAL, 10);
        setup.tips->SetDelayTime(TTDT_RESHOW, 0x7FFF);
        setup.tips->SetMargins(setup.margins[0], setup.margins[1], setup.margins[2], setup.margins[3]);
        for (const int id : setup.tools) {
            setup.tips->AddTool(GetDlgItem(id), " ");
        }
        setup.tips->Activate(TRUE);
        setup.tips->SetColumnTemplates(setup.templates);
    }
    m_injectionTips.SetTableText(m_injectionTip);
    m_pressureTips.SetTableText(m_pressureTip);
}

void CConfigStatus::ShowPressureTip(LPCSTR engine, LPCSTR injection, LPCSTR gas) {
    m_pressureTip = FormatText(LoadText(m_resources, kPressureTipText), engine, injection, gas);
    if (m_pressureTips.GetSafeHwnd() != nullptr) {
        m_pressureTips.SetTableText(m_pressureTip);
    }
}

BOOL CConfigStatus::PreTranslateMessage(MSG* msg) {
    for (CTableToolTipCtrl* tips : {&m_injectionTips, &m_pressureTips}) {
        if (tips->GetSafeHwnd() != nullptr) {
            tips->RelayEvent(msg);
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CConfigStatus::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    Invalidate(TRUE);
    return 0;
}

void CConfigStatus::OnPaint() {
    Default();
}

void CConfigStatus::OnShowWindow(BOOL show, UINT status) {
    Default();
}

// ---- Idle display ------------------------------------------------------------------------------

void CConfigStatus::MoveFocusToDiagnosis() {
    CWnd* focus = GetFocus();
    if (focus != nullptr && (focus->GetSafeHwnd() == m_petrolButton.GetSafeHwnd() ||
                             focus->GetSafeHwnd() == m_gasButton.GetSafeHwnd())) {
        m_diagnosisButton.SetFocus();
    }
}

void CConfigStatus::ResetDisplay() {
    MarkFuelButtons(FALSE, FALSE, 0, 0, FALSE);
    MoveFocusToDiagnosis();
    m_petrolButton.EnableWindow(FALSE);
    m_gasButton.EnableWindow(FALSE);
    for (const int id : {kSpeedId, kEngineTempId, kGasTempId}) {
        SetItemText(id, "0");
    }
    for (const int id : {kEnginePressId, kInjectionPressId, kGasPressId, kPetrolTimeId, kGasTimeId}) {
        SetItemText(id, Hundredths(0, "%.2f"));
    }
    m_petrolTimeColour = ::GetSysColor(COLOR_BTNTEXT);
    m_petrolTime.SetTextColor(m_petrolTimeColour);
    m_gasTime.SetTextColor(m_petrolTimeColour);
    m_gasLevel.SetLevel(-1);
    m_gasLevel.Invalidate(TRUE);
    SetItemText(kLambdaId, Hundredths(0, "%.2f V"));
    m_lambdaColour = ::GetSysColor(COLOR_BTNFACE);
    m_lambda.SetBkColor(m_lambdaColour);
    SetItemText(kLambdaStateId, "");
    m_lambdaStateColour = ::GetSysColor(COLOR_BTNFACE);
    m_lambdaState.SetBkColor(m_lambdaStateColour);
    m_diagnosisColour = ::GetSysColor(COLOR_BTNSHADOW);
    m_diagnosisButton.SetBkColor(m_diagnosisColour);
    m_diagnosisButton.Invalidate(TRUE);
    std::memset(m_live.petrol, 0, sizeof(m_live.petrol));
    std::memset(m_live.gas, 0, sizeof(m_live.gas));
    ShowInjectionTip();
    const CString zero = Hundredths(0, "%.2f");
    ShowPressureTip(zero, zero, zero);
}

// ---- Live cycle ----------------------------------------------------------------------------------

void CConfigStatus::ReadLiveRecord() {
    BYTE bytes[16] = {};
    const auto read = [this, &bytes](int element) {
        std::memset(bytes, 0, sizeof(bytes));
        if (m_dataHandler->GetElementLength(element) <= static_cast<int>(sizeof(bytes))) {
            m_dataHandler->ReadData(element, bytes);
        }
    };
    read(kSpeedElement);
    m_live.speed = ReadWord(bytes);
    read(kEngineStatusElement);
    std::memcpy(m_live.status, bytes, sizeof(m_live.status));
    read(kEnginePressureElement);
    m_live.enginePressure = ReadWord(bytes);
    read(kPetrolTimesElement);
    for (int i = 0; i < CStatusPageReadings::kCylinders; ++i) {
        m_live.petrol[i] = static_cast<WORD>(ReadWord(bytes + 2 * i));
    }
    read(kGasTimesElement);
    for (int i = 0; i < CStatusPageReadings::kCylinders; ++i) {
        m_live.gas[i] = static_cast<WORD>(ReadWord(bytes + 2 * i));
    }
    read(kGasPressureElement);
    m_live.gasPressure = ReadWord(bytes);
    read(kGasLevelElement);
    m_live.gasLevel = static_cast<signed char>(bytes[0]);
    read(kEngineTempElement);
    m_live.engineTemp = static_cast<signed char>(bytes[0]);
    read(kLambdaVoltageElement);
    m_live.lambdaMillivolts = ReadWord(bytes);
    read(kLambdaStateElement);
    m_live.lambdaState = bytes[0];
    read(kGasTempElement);
    m_live.gasTemp = static_cast<signed char>(bytes[0]);
    read(kNoPressureElement);
    m_live.noEnginePressure = ReadWord(bytes);
}

LRESULT CConfigStatus::OnNewData(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    ReadLiveRecord();
    m_readings.AddPressureSample(m_live.enginePressure, m_live.gasPressure);
    if ((m_live.status[1] & 0x80) != 0) {
        if (!g_idleShown) {
            g_idleShown = true;
            ResetDisplay();
        }
        return 0;
    }
    if (g_idleShown) {
        g_idleShown = false;
        SetDiagnosisState(-1);
        m_pending = false;
    }
    CString text;
    text.Format("%d", m_live.speed);
    SetItemText(kSpeedId, text);
    text.Format("%d", m_live.engineTemp);
    SetItemText(kEngineTempId, text);
    ShowPressures();
    if (m_live.gasTemp < -20) {
        SetItemText(kGasTempId, "-");
    } else {
        text.Format("%d", m_live.gasTemp);
        SetItemText(kGasTempId, text);
    }
    m_gasLevel.SetLevel(m_live.gasLevel);
    m_gasLevel.Invalidate(TRUE);
    ShowLambda();
    if (!m_pending) {
        ShowFuelButtons();
    }
    ShowInjectionTimes();
    ShowInjectionTip();
    const bool noEngine = m_live.noEnginePressure == kNoEnginePressure;
    const double engine = CStatusPageReadings::GaugePressure(m_live.enginePressure);
    const double gas = CStatusPageReadings::GaugePressure(m_live.gasPressure);
    ShowPressureTip(noEngine ? CString("-") : Hundredths(engine, "%5.2f"),
                    noEngine ? CString("-") : Hundredths(gas - engine, "%5.2f"), Hundredths(gas, "%5.2f"));
    return 0;
}

void CConfigStatus::ShowPressures() {
    const double engine = m_readings.AverageEnginePressure();
    const double gas = m_readings.AverageGasPressure();
    if (m_live.noEnginePressure == kNoEnginePressure) {
        SetItemText(kEnginePressId, "-");
        SetItemText(kInjectionPressId, "-");
    } else {
        SetItemText(kEnginePressId, Hundredths(engine, "%.2f"));
        SetItemText(kInjectionPressId, Hundredths(gas - engine, "%.2f"));
    }
    SetItemText(kGasPressId, Hundredths(gas, "%.2f"));
}

void CConfigStatus::ShowLambda() {
    const double volts = m_live.lambdaMillivolts * 0.001;
    SetItemText(kLambdaId, Hundredths(volts, "%.2f V"));
    m_lambdaColour = CStatusPageReadings::IsRich(volts, m_sensorType) ? kRich : kLean;
    m_lambda.SetBkColor(m_lambdaColour);
    SetItemText(kLambdaStateId, "L1");
    m_lambdaStateColour = m_live.lambdaState == 255 ? kGreen : kRed;
    m_lambdaState.SetBkColor(m_lambdaStateColour);
}

void CConfigStatus::ShowFuelButtons() {
    const int state = m_live.status[0];
    switch (state) {
    case 0:
        MarkFuelButtons(TRUE, FALSE, 1, 0, FALSE);
        m_petrolButton.EnableWindow(TRUE);
        m_gasButton.EnableWindow(TRUE);
        break;
    case 85:
    case 170: {
        MarkFuelButtons(TRUE, FALSE, 0, 1, TRUE);
        m_petrolButton.EnableWindow(TRUE);
        CWnd* focus = GetFocus();
        if (focus != nullptr && focus->GetSafeHwnd() == m_gasButton.GetSafeHwnd()) {
            m_petrolButton.SetFocus();
        }
        m_gasButton.EnableWindow(FALSE);
        break;
    }
    case 255:
        MarkFuelButtons(FALSE, TRUE, 0, 1, FALSE);
        m_petrolButton.EnableWindow(TRUE);
        m_gasButton.EnableWindow(TRUE);
        break;
    default:
        break;
    }
    if (state != m_lastFuelState) {
        m_petrolButton.Invalidate(TRUE);
        m_gasButton.Invalidate(TRUE);
        m_lastFuelState = state;
    }
}

void CConfigStatus::MarkFuelButtons(BOOL petrolActive,
                                    BOOL gasActive,
                                    WPARAM petrolChecked,
                                    WPARAM gasChecked,
                                    BOOL gasBlinks) {
    m_petrolButton.SetActive(petrolActive);
    m_petrolButton.SendMessage(BM_SETCHECK, petrolChecked, 0);
    m_gasButton.SetActive(gasActive);
    m_gasButton.SendMessage(BM_SETCHECK, gasChecked, 0);
    m_gasButton.Blink(gasBlinks);
}

void CConfigStatus::ShowInjectionTimes() {
    const BYTE flags = m_live.status[1];
    const COLORREF textColour = ::GetSysColor(COLOR_BTNTEXT);
    if ((flags & 0x01) != 0) {
        m_petrolTimeColour = ::GetSysColor(COLOR_BTNSHADOW);
        m_petrolTime.SetTextColor(m_petrolTimeColour);
        m_gasTime.SetTextColor(m_petrolTimeColour);
        SetItemText(kPetrolTimeId, Hundredths(0, "%.2f"));
        SetItemText(kGasTimeId, Hundredths(0, "%.2f"));
        return;
    }
    CStatusPageReadings::RememberInjectionTimes(m_live.petrol, m_live.gas);
    const double cycleMs = m_live.speed == 0 ? 0.0 : 120000.0 / m_live.speed;
    const bool petrolCycle = (flags & 0x02) != 0;
    const bool gasCycle = (flags & 0x04) != 0;
    m_petrolTimeColour = petrolCycle ? kCycleTime : textColour;
    m_petrolTime.SetTextColor(m_petrolTimeColour);
    SetItemText(kPetrolTimeId,
                Hundredths(petrolCycle ? cycleMs : CStatusPageReadings::MeanRememberedPetrolMs(), "%.2f"));
    m_gasTime.SetTextColor(gasCycle ? kCycleTime : textColour);
    SetItemText(kGasTimeId,
                Hundredths(gasCycle ? cycleMs : CStatusPageReadings::MeanRememberedGasMs(), "%.2f"));
}

void CConfigStatus::ShowInjectionTip() {
    m_injectionTip = LoadText(m_resources, kInjectionTipHeader);
    for (int i = 0; i < CStatusPageReadings::kCylinders; ++i) {
        const double petrol = m_live.petrol[i] * 0.001;
        const double gas = m_live.petrol[i] == 0 ? 0.0 : m_live.gas[i] * 0.001;
        m_injectionTip.AppendFormat("\\rc%d.\t\\rc%5.2f ms\t\\rc%5.2f ms\n", i + 1, petrol, gas);
    }
    if (m_injectionTips.GetSafeHwnd() != nullptr) {
        m_injectionTips.SetTableText(m_injectionTip);
    }
}

// ---- Messages and commands -------------------------------------------------------------------------

LRESULT CConfigStatus::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int element = LOWORD(lParam);
    const int reason = HIWORD(lParam);
    if (element == kFuelRequestElement && reason == kTransferFinished) {
        m_pending = false;
    } else if (element == kSensorTypeElement && m_dataHandler != nullptr) {
        BYTE type = 0;
        m_dataHandler->ReadData(kSensorTypeElement, &type);
        m_sensorType = type;
    }
    return 0;
}

LRESULT CConfigStatus::OnStatusChanged(WPARAM status, LPARAM port) {
    if (IsLinkUp(status)) {
        SetDiagnosisState(1);
        return 0;
    }
    ResetDisplay();
    m_pending = false;
    m_readings.ClearPressureSamples();
    SetDiagnosisState(0);
    return 0;
}

LRESULT CConfigStatus::OnEventLogChanged(WPARAM state, LPARAM lParam) {
    SetDiagnosisState(static_cast<int>(state));
    return 0;
}

void CConfigStatus::SetDiagnosisState(int state) {
    if (state != -1) {
        m_diagnosisState = state;
    }
    if (m_diagnosisState >= 0 && m_diagnosisState <= 3) {
        m_diagnosisColour =
            m_diagnosisState == 0 ? ::GetSysColor(COLOR_BTNSHADOW) : kDiagnosisColours[m_diagnosisState];
        m_diagnosisButton.SetBkColor(m_diagnosisColour);
    }
    m_diagnosisButton.Invalidate(TRUE);
}

void CConfigStatus::RequestFuel(BYTE request, bool gas) {
    m_pending = true;
    m_petrolButton.SetActive(FALSE);
    m_gasButton.SetActive(FALSE);
    m_diagnosisButton.SetFocus();
    m_petrolButton.EnableWindow(gas ? TRUE : FALSE);
    m_gasButton.EnableWindow(FALSE);
    if (m_dataHandler != nullptr) {
        m_dataHandler->WriteData(kFuelRequestElement, &request);
    }
    CLogger::Instance().Log(kLogButtons,
                            gas ? "CConfigStatus: GAS pressed" : "CConfigStatus: BENZIN pressed");
}

void CConfigStatus::OnBenzin() {
    RequestFuel(kPetrolRequest, false);
}

void CConfigStatus::OnGas() {
    RequestFuel(kGasRequest, true);
}

void CConfigStatus::OnDiagnosis() {
    if (m_nextPage) {
        m_nextPage(3, 0);
    }
    CWnd* main = GetParent();
    if (main != nullptr) {
        main->PostMessage(WM_COMMAND, IDCANCEL, 0);
    }
}

BOOL CConfigStatus::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (id == IDOK) {
        return TRUE;
    }
    if (id == IDCANCEL) {
        return FALSE;
    }
    if (id == ID_ACCEL_GAS && lParam == 0) {
        if (m_gasButton.IsWindowEnabled()) {
            OnGas();
        }
        return TRUE;
    }
    if (id == ID_ACCEL_PETROL && lParam == 0) {
        if (m_petrolButton.IsWindowEnabled()) {
            OnBenzin();
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
