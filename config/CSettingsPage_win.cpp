#include "config/CSettingsPage.h"

#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CFont.h"
#include "config/CSensorSettingDlg.h"
#include "config/CSettingsPageField.h"
#include "forms/fonts/CFontCache.h"
#include "forms/fonts/GetScaledFontHeight.h"
#include "forms/ScaledLength.h"
#include "link/CDataHandler.h"
#include "link/CLocaleNumberFormat.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/NumberChecks.h"
#include "link/ITextResources.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Texts of the string table.
constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15152;      // "Element out of range: %s <- %c%s; %s%c."
constexpr UINT kNormalText = 15081;
constexpr UINT kCutoffText = 15082;
constexpr UINT kSynchronizedText = 15083;
constexpr UINT kDefaultText = 15084;
constexpr UINT kUserDefinedText = 15085;
constexpr UINT kWeakText = 15086;
constexpr UINT kNoPumpText = 15087;
constexpr UINT kTypeAText = 15088;
constexpr UINT kTypeBText = 15089;
constexpr UINT kBroadband5Text = 15090;
constexpr UINT kBroadband1Text = 15091;
constexpr UINT kVoltRangeText = 15092;              // "%.1f-%.1f V"
constexpr UINT kValveTypeTexts[] = {15519, 15520};  // "Normal", "Ceodeux"
constexpr int kLastValveType = 1;

// The elements the page shows, subscribed for "loaded as a whole" and "changed locally".
constexpr int kShownElements[] = {2,  3,  4,  5,  0,   1,   35,  36,  37,  38,  71,  72, 73,
                                  74, 93, 94, 50, 100, 101, 103, 104, 105, 122, 102, 45};
constexpr int kShownFlags = 1 | 2;

constexpr int kChangeTypeElement = 2;
constexpr int kRevSignalElement = 0;
constexpr int kOxygenSensorElement = 35;
constexpr int kTankValveElement = 45;
constexpr int kTempTypeElement = 36;
constexpr int kPressTypeElement = 37;
constexpr int kLevelTypeElement = 38;
constexpr int kLambdaElement = 74;
constexpr int kPumpTypeElement = 122;
constexpr int kIntervalElement = 102;
constexpr int kLoadMinimumElement = 100;

constexpr int kReasonLoadedWhole = 0x1;
constexpr BYTE kOn = 255;

struct EditBinding {
    int element;
    int controlId;
};

// The edit of each edit-field element; the one of element 102 shares it with the slider.
constexpr EditBinding kEdits[] = {
    {3, CSettingsPage::kChangeRevId},      {4, CSettingsPage::kChangeTempId},
    {5, CSettingsPage::kChangePressId},    {71, CSettingsPage::kOverlapId},
    {50, CSettingsPage::kMinInjectionId},  {72, CSettingsPage::kBeforeChangeId},
    {73, CSettingsPage::kHighPressId},     {1, CSettingsPage::kRevDivisorId},
    {93, CSettingsPage::kPressMatterId},   {94, CSettingsPage::kTempMatterId},
    {102, CSettingsPage::kIntervalEditId}, {100, CSettingsPage::kLoadMinimumId},
    {101, CSettingsPage::kCylindersId},    {103, CSettingsPage::kExtra2Id},
    {104, CSettingsPage::kExtra3Id},       {105, CSettingsPage::kExtra4Id},
};

// Controls enabled when their element has been loaded as a whole. The lists of elements
// 36 to 38 and the edit of element 101 stay disabled.
constexpr EditBinding kEnabledByLoad[] = {
    {0, CSettingsPage::kRevSignalId},      {1, CSettingsPage::kRevDivisorId},
    {2, CSettingsPage::kChangeTypeId},     {3, CSettingsPage::kChangeRevId},
    {4, CSettingsPage::kChangeTempId},     {5, CSettingsPage::kChangePressId},
    {35, CSettingsPage::kOxygenSensorId},  {45, CSettingsPage::kTankValveId},
    {50, CSettingsPage::kMinInjectionId},  {71, CSettingsPage::kOverlapId},
    {72, CSettingsPage::kBeforeChangeId},  {73, CSettingsPage::kHighPressId},
    {74, CSettingsPage::kLambdaCheckId},   {93, CSettingsPage::kPressMatterId},
    {94, CSettingsPage::kTempMatterId},    {100, CSettingsPage::kLoadMinimumId},
    {103, CSettingsPage::kExtra2Id},       {104, CSettingsPage::kExtra3Id},
    {105, CSettingsPage::kExtra4Id},       {122, CSettingsPage::kPumpTypeId},
    {102, CSettingsPage::kIntervalEditId}, {102, CSettingsPage::kIntervalSliderId},
};

struct ChoiceItem {
    UINT textId;
    BYTE value;
};

constexpr ChoiceItem kChangeTypeItems[] = {{kNormalText, 0}, {kCutoffText, 255}, {kSynchronizedText, 170}};
constexpr ChoiceItem kRevSignalItems[] = {{kNormalText, 0}, {kWeakText, 255}};
constexpr ChoiceItem kSensorTypeItems[] = {{kDefaultText, 0}, {kUserDefinedText, 255}};
constexpr ChoiceItem kPumpItems[] = {{kNoPumpText, 1}, {kTypeAText, 2}, {kTypeBText, 3}};

// The voltage ranges of the first four oxygen sensor types.
constexpr double kSensorVolts[][2] = {{0, 1}, {0, 5}, {5, 0}, {0.8, 1.6}};

// Layout in base units, scaled by the page's factors.
constexpr double kMargin = 2;
constexpr double kLabelWidth = 172;
constexpr double kFieldWidth = 68;
constexpr double kUnitWidth = 35;
constexpr double kGap = 8;
constexpr double kIndent = 5;
constexpr double kRowHeight = 15;
constexpr double kRowGap = 8;
constexpr double kCaptionHeight = 18;
constexpr double kGroupSpace = 6;
constexpr int kFontTenths = 80;

enum class RowShape {
    Edit,
    Choice,
    Check,
    SensorType,
    Interval
};

struct RowLayout {
    int labelId;
    UINT labelText;  // 0: the template's label stays
    RowShape shape;
    int fieldId;
    int unitId;  // 0: none
    UINT unitText;
    int extraId;  // the characteristic button, or the interval edit
};

struct GroupLayout {
    int groupId;
    UINT captionText;
    std::vector<RowLayout> rows;
};

constexpr UINT kRpmText = 15075;
constexpr UINT kCelsiusText = 15076;
constexpr UINT kBarText = 15077;
constexpr UINT kMsText = 15078;
constexpr UINT kPercentText = 15079;
constexpr UINT kSecondsText = 15080;

const std::vector<GroupLayout>& LeftGroups() {
    static const std::vector<GroupLayout> groups = {
        {CSettingsPage::kChangeGroupId,
         15043,
         {{1410, 15050, RowShape::Choice, CSettingsPage::kChangeTypeId, 0, 0, 0},
          {1412, 15051, RowShape::Edit, CSettingsPage::kChangeRevId, 1414, kRpmText, 0},
          {1415, 15052, RowShape::Check, CSettingsPage::kLambdaCheckId, 0, 0, 0},
          {1417, 15053, RowShape::Edit, CSettingsPage::kChangeTempId, 1419, kCelsiusText, 0},
          {1420, 15054, RowShape::Edit, CSettingsPage::kChangePressId, 1422, kBarText, 0},
          {1423, 15055, RowShape::Edit, CSettingsPage::kOverlapId, 1425, kMsText, 0},
          {1426, 15056, RowShape::Edit, CSettingsPage::kMinInjectionId, 1428, kMsText, 0}}},
        {CSettingsPage::kCyclicGroupId,
         15044,
         {{1429, 15057, RowShape::Edit, CSettingsPage::kBeforeChangeId, 1431, kMsText, 0},
          {1432, 15058, RowShape::Edit, CSettingsPage::kHighPressId, 1434, kMsText, 0}}},
        // Never shown: the cylinders, load minimum and extra byte rows.
        {CSettingsPage::kEngineGroupId,
         15048,
         {{1467, 15070, RowShape::Edit, CSettingsPage::kCylindersId, 0, 0, 0},
          {1464, 0, RowShape::Edit, CSettingsPage::kLoadMinimumId, 1466, kPercentText, 0},
          {1469, 15071, RowShape::Edit, CSettingsPage::kExtra2Id, 0, 0, 0},
          {1471, 15072, RowShape::Edit, CSettingsPage::kExtra3Id, 0, 0, 0},
          {1473, 15074, RowShape::Edit, CSettingsPage::kExtra4Id, 0, 0, 0}}},
    };
    return groups;
}

const std::vector<GroupLayout>& RightGroups() {
    static const std::vector<GroupLayout> groups = {
        {CSettingsPage::kSensorsGroupId,
         15045,
         {{1435, 15059, RowShape::Choice, CSettingsPage::kOxygenSensorId, 0, 0, 0},
          {1437, 15060, RowShape::Choice, CSettingsPage::kTankValveId, 0, 0, 0},
          {1439, 15061, RowShape::SensorType, CSettingsPage::kTempTypeId, 0, 0, CSettingsPage::kTempCurveId},
          {1442, 15062, RowShape::SensorType, CSettingsPage::kPressTypeId, 0, 0,
           CSettingsPage::kPressCurveId},
          {1445, 15063, RowShape::SensorType, CSettingsPage::kLevelTypeId, 0, 0,
           CSettingsPage::kLevelCurveId}}},
        {CSettingsPage::kRevGroupId,
         15046,
         {{1448, 15064, RowShape::Choice, CSettingsPage::kRevSignalId, 0, 0, 0},
          {1450, 15065, RowShape::Edit, CSettingsPage::kRevDivisorId, 0, 0, 0}}},
        {CSettingsPage::kCorrectionGroupId,
         15047,
         {{1452, 15066, RowShape::Edit, CSettingsPage::kPressMatterId, 1454, kPercentText, 0},
          {1455, 15067, RowShape::Edit, CSettingsPage::kTempMatterId, 1457, kPercentText, 0}}},
        {CSettingsPage::kLubricationGroupId,
         15049,
         {{1458, 15068, RowShape::Choice, CSettingsPage::kPumpTypeId, 0, 0, 0},
          {1460, 15069, RowShape::Interval, CSettingsPage::kIntervalSliderId, 1463, kSecondsText,
           CSettingsPage::kIntervalEditId}}},
    };
    return groups;
}

// Controls of the lubrication group, shown and hidden together.
constexpr int kLubricationControls[] = {CSettingsPage::kLubricationGroupId,
                                        1458,
                                        CSettingsPage::kPumpTypeId,
                                        1460,
                                        CSettingsPage::kIntervalSliderId,
                                        CSettingsPage::kIntervalEditId,
                                        1463};
// Rows laid out and then hidden.
constexpr int kHiddenControls[] = {1439,
                                   CSettingsPage::kTempTypeId,
                                   CSettingsPage::kTempCurveId,
                                   1442,
                                   CSettingsPage::kPressTypeId,
                                   CSettingsPage::kPressCurveId,
                                   1445,
                                   CSettingsPage::kLevelTypeId,
                                   CSettingsPage::kLevelCurveId,
                                   1469,
                                   CSettingsPage::kExtra2Id,
                                   1471,
                                   CSettingsPage::kExtra3Id,
                                   1473,
                                   CSettingsPage::kExtra4Id};

void FillList(CComboBox& list, const ChoiceItem* items, int count, const CString* texts) {
    const int selection = list.GetCurSel();
    list.ResetContent();
    for (int i = 0; i < count; ++i) {
        const int index = list.AddString(texts[i]);
        list.SetItemData(index, items[i].value);
    }
    list.SetCurSel(selection);
}

int FindItemByData(const CComboBox& list, int value) {
    for (int i = 0; i < list.GetCount(); ++i) {
        if (static_cast<int>(list.GetItemData(i)) == value) {
            return i;
        }
    }
    return -1;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_CBN_SELENDOK(CSettingsPage::kChangeTypeId, OnChangeTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kRevSignalId, OnRevSignalSelected)
    ON_CBN_SELENDOK(CSettingsPage::kOxygenSensorId, OnOxygenSensorSelected)
    ON_CBN_SELENDOK(CSettingsPage::kTankValveId, OnTankValveSelected)
    ON_CBN_SELENDOK(CSettingsPage::kTempTypeId, OnTempTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kPressTypeId, OnPressTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kLevelTypeId, OnLevelTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kPumpTypeId, OnPumpTypeSelected)
    ON_CONTROL_RANGE(EN_KILLFOCUS, CSettingsPage::kChangeRevId, CSettingsPage::kExtra4Id, OnEditKillFocus)
    ON_BN_CLICKED(CSettingsPage::kLambdaCheckId, OnLambdaCheckClicked)
    ON_BN_DOUBLECLICKED(CSettingsPage::kLambdaCheckId, OnLambdaCheckClicked)
    ON_WM_DRAWITEM()
    ON_NOTIFY(NM_RELEASEDCAPTURE, CSettingsPage::kIntervalSliderId, OnSliderReleased)
END_MESSAGE_MAP()

CSettingsPage::CSettingsPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {}

CSettingsPage::~CSettingsPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    for (const int element : kShownElements) {
        m_dataHandler->Unsubscribe(this, element, kShownFlags);
    }
}

void CSettingsPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        ::PostMessageA(window, message, wParam, lParam);
    }
}

void CSettingsPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kChangeTypeId, m_changeType);
    DDX_Control(exchange, kChangeRevId, m_changeRev);
    DDX_Control(exchange, kLambdaCheckId, m_lambdaCheck);
    DDX_Control(exchange, kChangeTempId, m_changeTemp);
    DDX_Control(exchange, kChangePressId, m_changePress);
    DDX_Control(exchange, kOverlapId, m_overlap);
    DDX_Control(exchange, kMinInjectionId, m_minInjection);
    DDX_Control(exchange, kBeforeChangeId, m_beforeChange);
    DDX_Control(exchange, kHighPressId, m_highPress);
    DDX_Control(exchange, kOxygenSensorId, m_oxygenSensor);
    DDX_Control(exchange, kTankValveId, m_tankValve);
    DDX_Control(exchange, kTempTypeId, m_tempType);
    DDX_Control(exchange, kTempCurveId, m_tempCurve);
    DDX_Control(exchange, kPressTypeId, m_pressType);
    DDX_Control(exchange, kPressCurveId, m_pressCurve);
    DDX_Control(exchange, kLevelTypeId, m_levelType);
    DDX_Control(exchange, kLevelCurveId, m_levelCurve);
    DDX_Control(exchange, kRevSignalId, m_revSignal);
    DDX_Control(exchange, kRevDivisorId, m_revDivisor);
    DDX_Control(exchange, kPressMatterId, m_pressMatter);
    DDX_Control(exchange, kTempMatterId, m_tempMatter);
    DDX_Control(exchange, kPumpTypeId, m_pumpType);
    DDX_Control(exchange, kIntervalSliderId, m_intervalSlider);
    DDX_Control(exchange, kIntervalEditId, m_intervalEdit);
    DDX_Control(exchange, kLoadMinimumId, m_loadMinimum);
    DDX_Control(exchange, kCylindersId, m_cylinders);
    DDX_Control(exchange, kExtra2Id, m_extra2);
    DDX_Control(exchange, kExtra3Id, m_extra3);
    DDX_Control(exchange, kExtra4Id, m_extra4);
}

BOOL CSettingsPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        for (const int element : kShownElements) {
            m_dataHandler->Subscribe(this, element, kShownFlags);
        }
    }
    Layout();
    return TRUE;
}

CString CSettingsPage::LoadText(UINT id) const {
    CString text;
    if (m_resources != nullptr) {
        m_resources->GetString(id, text);
    }
    return text;
}

// ---- Layout and texts ----------------------------------------------------------------------

void CSettingsPage::Layout() {
    const double a = m_scaleX;
    const double b = m_scaleY;
    RECT client = {};
    GetClientRect(&client);
    const int margin = ScaledLength(kMargin, a);
    const int gap = ScaledLength(kGap, a);
    const int columnWidth = (client.right - client.left - 2 * margin - gap) / 2;
    const int rowHeight = ScaledLength(kRowHeight, b);
    const int rowPitch = rowHeight + ScaledLength(kRowGap, b);
    const int caption = ScaledLength(kCaptionHeight, b);
    const int fieldWidth = ScaledLength(kFieldWidth, a);

    const auto layColumn = [&](const std::vector<GroupLayout>& groups, int x) {
        int y = ScaledLength(kMargin, b);
        for (const GroupLayout& group : groups) {
            int shownRows = 0;
            for (const RowLayout& row : group.rows) {
                shownRows += row.shape == RowShape::SensorType ? 0 : 1;
            }
            const int height = caption + shownRows * rowPitch;
            GetDlgItem(group.groupId)->MoveWindow(x, y, columnWidth, height, FALSE);
            int rowTop = y + caption;
            for (const RowLayout& row : group.rows) {
                const int labelX = x + ScaledLength(kIndent, a);
                const int fieldX = labelX + ScaledLength(kLabelWidth, a) + gap;
                const int unitX = fieldX + fieldWidth + gap;
                GetDlgItem(row.labelId)
                    ->MoveWindow(labelX, rowTop, ScaledLength(kLabelWidth, a), rowHeight, FALSE);
                CWnd* field = GetDlgItem(row.fieldId);
                switch (row.shape) {
                case RowShape::Check:
                    field->MoveWindow(fieldX, rowTop, rowHeight, rowHeight, FALSE);
                    break;
                case RowShape::Choice:
                case RowShape::SensorType: {
                    const bool pump = row.fieldId == kPumpTypeId;
                    const int listRows = row.fieldId == kOxygenSensorId ? 5 : 4;
                    const int width = pump ? static_cast<int>(fieldWidth * 1.3) : fieldWidth;
                    field->MoveWindow(fieldX, rowTop, width, rowHeight * (listRows + 1), FALSE);
                    break;
                }
                case RowShape::Interval:
                    field->MoveWindow(fieldX, rowTop, static_cast<int>(fieldWidth * 0.6), rowHeight, FALSE);
                    GetDlgItem(row.extraId)
                        ->MoveWindow(fieldX + static_cast<int>(fieldWidth * 0.7), rowTop,
                                     static_cast<int>(fieldWidth * 0.3), rowHeight, FALSE);
                    break;
                default:
                    field->MoveWindow(fieldX, rowTop, fieldWidth, rowHeight, FALSE);
                    break;
                }
                if (row.shape == RowShape::SensorType) {
                    GetDlgItem(row.extraId)
                        ->MoveWindow(unitX, rowTop, ScaledLength(kUnitWidth, a), rowHeight, FALSE);
                    continue;
                }
                if (row.unitId != 0) {
                    GetDlgItem(row.unitId)
                        ->MoveWindow(unitX, rowTop, ScaledLength(kUnitWidth, a), rowHeight, FALSE);
                }
                rowTop += rowPitch;
            }
            y += height + ScaledLength(kGroupSpace, b);
        }
    };
    layColumn(LeftGroups(), margin);
    layColumn(RightGroups(), margin + columnWidth + gap);

    for (const int id : kHiddenControls) {
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    }
    m_intervalSlider.SetRange(4, 10, TRUE);
    SetFonts();
    UpdateTexts();
    SetContentHeight(0);
    Invalidate(TRUE);
}

void CSettingsPage::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    LOGFONTA request;
    std::memset(&request, 0, sizeof(request));
    {
        CClientDC dc(this);
        request.lfHeight = GetScaledFontHeight(&dc, "Verdana", kFontTenths, m_scaleX, m_scaleY);
    }
    request.lfCharSet = ANSI_CHARSET;
    std::strncpy(request.lfFaceName, "Verdana", LF_FACESIZE - 1);
    CFont* font = m_fonts->GetFont(&request);
    if (font == nullptr || font->GetSafeHandle() == nullptr) {
        CLogger::Instance().Log(3000, "CSettingsPage::SetFonts(): no Verdana font.");
        return;
    }
    SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*font)), FALSE);
}

void CSettingsPage::UpdateTexts() {
    for (const std::vector<GroupLayout>* column : {&LeftGroups(), &RightGroups()}) {
        for (const GroupLayout& group : *column) {
            GetDlgItem(group.groupId)->SetWindowText(LoadText(group.captionText));
            for (const RowLayout& row : group.rows) {
                if (row.labelText != 0) {
                    GetDlgItem(row.labelId)->SetWindowText(LoadText(row.labelText));
                }
                if (row.unitId != 0) {
                    GetDlgItem(row.unitId)->SetWindowText(LoadText(row.unitText));
                }
            }
        }
    }
    FillChoiceTexts();
    Invalidate(TRUE);
}

void CSettingsPage::FillChoiceTexts() {
    const auto fill = [this](CComboBox& list, const ChoiceItem* items, int count) {
        std::vector<CString> texts;
        for (int i = 0; i < count; ++i) {
            texts.push_back(LoadText(items[i].textId));
        }
        FillList(list, items, count, texts.data());
    };
    fill(m_changeType, kChangeTypeItems, 3);
    fill(m_revSignal, kRevSignalItems, 2);
    fill(m_tempType, kSensorTypeItems, 2);
    fill(m_pressType, kSensorTypeItems, 2);
    fill(m_levelType, kSensorTypeItems, 2);
    fill(m_pumpType, kPumpItems, 3);

    ChoiceItem sensorItems[6];
    CString sensorTexts[6];
    const CString voltFormat = LoadText(kVoltRangeText);
    for (int i = 0; i < 6; ++i) {
        sensorItems[i].value = static_cast<BYTE>(i);
    }
    for (int i = 0; i < 4; ++i) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        sensorTexts[i].Format(voltFormat, kSensorVolts[i][0], kSensorVolts[i][1]);
#pragma GCC diagnostic pop
    }
    sensorTexts[4] = LoadText(kBroadband5Text);
    sensorTexts[5] = LoadText(kBroadband1Text);
    FillList(m_oxygenSensor, sensorItems, 6, sensorTexts);

    FillValveTypes(m_tankValve.GetCurSel());
}

void CSettingsPage::FillValveTypes(int selection) {
    m_tankValve.ResetContent();
    for (int i = 0; i <= m_highestValveType; ++i) {
        const int index = m_tankValve.AddString(LoadText(kValveTypeTexts[i]));
        m_tankValve.SetItemData(index, static_cast<DWORD_PTR>(i));
    }
    m_tankValve.SetCurSel(selection);
}

void CSettingsPage::ShowLubrication(BOOL show) {
    for (const int id : kLubricationControls) {
        GetDlgItem(id)->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

LRESULT CSettingsPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    ShowDecimals();
    return 0;
}

// The decimal settings shown so far, again in the language's decimal separator.
void CSettingsPage::ShowDecimals() {
    for (const EditBinding& binding : kEdits) {
        const CSettingsPageField* field = CSettingsPageField::Find(binding.element);
        CWnd* edit = GetDlgItem(binding.controlId);
        if (field != nullptr && field->IsDecimal() && edit != nullptr && edit->GetWindowTextLength() > 0) {
            edit->SetWindowText(field->Display(m_cache[binding.element]));
        }
    }
}

LRESULT CSettingsPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

// ---- Refresh from the data handler ------------------------------------------------------

LRESULT CSettingsPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int element = LOWORD(lParam);
    const int reason = HIWORD(lParam);
    if (m_dataHandler == nullptr || element >= kElementCount) {
        return 0;
    }
    if (reason == kReasonLoadedWhole) {
        EnableElementControls(element);
    }
    const int length = m_dataHandler->GetElementLength(element);
    std::vector<BYTE> bytes(static_cast<std::size_t>(std::max(length, 2)), 0);
    m_dataHandler->ReadData(element, bytes.data());
    const int byte = bytes[0];

    const CSettingsPageField* field = CSettingsPageField::Find(element);
    if (element == kIntervalElement) {
        RefreshInterval(byte);
    } else if (field != nullptr) {
        RefreshEdit(*field, *EditOfElement(element), bytes.data());
    } else if (element == kChangeTypeElement) {
        RefreshChoice(element, m_changeType, byte);
    } else if (element == kRevSignalElement) {
        RefreshChoice(element, m_revSignal, byte);
    } else if (element == kOxygenSensorElement) {
        m_cache[element] = byte;
        m_oxygenSensor.SetCurSel(FindItemByData(m_oxygenSensor, byte));
    } else if (element == kTempTypeElement) {
        RefreshSensorType(element, m_tempType, m_tempCurve, byte);
    } else if (element == kPressTypeElement) {
        RefreshSensorType(element, m_pressType, m_pressCurve, byte);
    } else if (element == kLevelTypeElement) {
        RefreshSensorType(element, m_levelType, m_levelCurve, byte);
    } else if (element == kTankValveElement) {
        RefreshTankValve(byte, reason == kReasonLoadedWhole);
    } else if (element == kLambdaElement) {
        m_cache[element] = byte;
        m_lambdaCheck.Invalidate(TRUE);
    } else if (element == kPumpTypeElement) {
        RefreshLubricationPump(byte);
    }
    return 0;
}

void CSettingsPage::EnableElementControls(int element) {
    for (const EditBinding& binding : kEnabledByLoad) {
        if (binding.element == element) {
            GetDlgItem(binding.controlId)->EnableWindow(TRUE);
        }
    }
}

void CSettingsPage::RefreshEdit(const CSettingsPageField& field, CEdit& edit, const BYTE* bytes) {
    const int encoded = field.ReadEncoded(bytes);
    m_cache[field.GetElement()] = encoded;
    edit.SetWindowText(field.Display(encoded));
    SelectWholeText(edit);
}

// Lists whose first item stands for every value that no other item has.
void CSettingsPage::RefreshChoice(int element, CComboBox& list, int value) {
    m_cache[element] = value;
    const int index = FindItemByData(list, value);
    list.SetCurSel(index >= 0 ? index : 0);
}

void CSettingsPage::RefreshSensorType(int element, CComboBox& list, CButton& curveButton, int value) {
    m_cache[element] = value;
    const bool userDefined = value == kOn;
    list.SetCurSel(userDefined ? 1 : 0);
    CWnd* focus = GetFocus();
    if (!userDefined && focus != nullptr && focus->GetSafeHwnd() == curveButton.GetSafeHwnd()) {
        SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    }
    curveButton.EnableWindow(FALSE);
}

void CSettingsPage::RefreshTankValve(int value, bool loadedWhole) {
    if (loadedWhole) {
        m_highestValveType = std::min(value >> 4, kLastValveType);
        FillValveTypes(0);
    }
    const int type = value & 0x0F;
    // An index past the offered types selects nothing (the list would keep its selection).
    m_tankValve.SetCurSel(type < m_tankValve.GetCount() ? type : -1);
    m_cache[kTankValveElement] = type;
}

void CSettingsPage::RefreshLubricationPump(int value) {
    if (value != 0) {
        m_cache[kPumpTypeElement] = value;
        m_pumpType.SetCurSel(FindItemByData(m_pumpType, value));
    }
    ShowLubricationOfData();
    m_pumpType.Invalidate(TRUE);
}

// The interval goes through its write step, so a unit value outside the range is reported
// and a value other than the page's is written back. 0 (no lubrication) is shown as it is.
void CSettingsPage::RefreshInterval(int value) {
    if (value != 0) {
        SetLubricationInterval(value, 0);
    } else {
        m_cache[kIntervalElement] = 0;
        m_intervalEdit.SetWindowText("0");
        m_intervalSlider.SetPos(0);
    }
    ShowLubricationOfData();
}

// The group stays while either element holds a value, whichever of them came last.
void CSettingsPage::ShowLubricationOfData() {
    BYTE pump = 0;
    BYTE interval = 0;
    m_dataHandler->ReadData(kPumpTypeElement, &pump);
    m_dataHandler->ReadData(kIntervalElement, &interval);
    ShowLubrication(pump != 0 || interval != 0 ? TRUE : FALSE);
}

void CSettingsPage::SetLubricationInterval(int value, int mode) {
    if (mode == 2 || mode == 0) {
        CString text;
        text.Format("%d", value);
        m_intervalEdit.SetWindowText(text);
        RunWriteStep(kIntervalElement);
    }
    if (mode == 1 || mode == 0) {
        m_intervalSlider.SetPos(value);
    }
}

void CSettingsPage::SelectWholeText(CEdit& edit) {
    edit.SetSel(0, -1);
    edit.SendMessage(EM_SCROLLCARET, 0, 0);
}

// ---- Writing ---------------------------------------------------------------------------------

CEdit* CSettingsPage::EditOfElement(int element) {
    for (const EditBinding& binding : kEdits) {
        if (binding.element == element) {
            return static_cast<CEdit*>(GetDlgItem(binding.controlId));
        }
    }
    return nullptr;
}

int CSettingsPage::ElementOfEdit(int controlId) const {
    for (const EditBinding& binding : kEdits) {
        if (binding.controlId == controlId) {
            return binding.element;
        }
    }
    return -1;
}

bool CSettingsPage::RunWriteStep(int element) {
    const CSettingsPageField* field = CSettingsPageField::Find(element);
    CEdit* edit = EditOfElement(element);
    // The refusal box takes the focus from the field; that must not start another write step,
    // which would open a box over the box when the refused text could not be undone.
    if (field == nullptr || edit == nullptr || m_refusing) {
        return false;
    }
    CString text;
    edit->GetWindowText(text);
    const DWORD language = m_resources != nullptr ? m_resources->GetLanguageId() : 0;
    const bool wellFormed =
        field->IsDecimal() ? IsValidDecimalText(language, text) : IsValidNumberText(language, text);
    const CLocaleNumberFormat format = CLocaleNumberFormat::FromLocale(language);
    double value = 0;
    if (!wellFormed || !field->Parse(text, format.m_decimalSeparator.c_str(), value)) {
        CString message;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        message.Format(LoadText(kInvalidElementText), static_cast<LPCSTR>(text));
#pragma GCC diagnostic pop
        RefuseInput(*edit, message);
        return false;
    }
    if (!field->InRange(value)) {
        RefuseInput(*edit, field->RangeMessage(LoadText(kOutOfRangeText), value));
        return false;
    }
    const int encoded = field->Encode(value);
    if (encoded == m_cache[element]) {
        edit->SetWindowText(field->Display(encoded));
        SelectWholeText(*edit);
        return true;
    }
    WriteElement(element, encoded);
    return true;
}

void CSettingsPage::RefuseInput(CEdit& edit, const CString& message) {
    edit.Undo();
    edit.EmptyUndoBuffer();
    // The typed text may have scrolled the edit; the value given back shows from its start.
    edit.SetSel(0, 0);
    edit.SendMessage(EM_SCROLLCARET, 0, 0);
    CLogger::Instance().Log(3000, "CSettingsPage: %s", static_cast<LPCSTR>(message));
    m_refusing = true;
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    m_refusing = false;
}

void CSettingsPage::WriteElement(int element, int encoded) {
    m_cache[element] = encoded;
    BYTE bytes[2] = {static_cast<BYTE>(encoded & 0xFF), static_cast<BYTE>((encoded >> 8) & 0xFF)};
    if (m_dataHandler != nullptr) {
        m_dataHandler->WriteData(element, bytes);
    }
}

void CSettingsPage::WriteChoice(int element, CComboBox& list) {
    const int selection = list.GetCurSel();
    if (selection < 0) {
        return;
    }
    const int value = static_cast<BYTE>(list.GetItemData(selection));
    if (value == m_cache[element]) {
        return;
    }
    WriteElement(element, value);
}

void CSettingsPage::OnEditKillFocus(UINT id) {
    const int element = ElementOfEdit(static_cast<int>(id));
    if (element >= 0) {
        RunWriteStep(element);
    }
}

BOOL CSettingsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED &&
        CSensorSettingDlg::RunForButton(static_cast<int>(id), this, m_dataHandler, m_resources, m_fonts,
                                        m_scaleX, m_scaleY)) {
        return TRUE;
    }
    if (id != IDOK && id != IDCANCEL) {
        return CScrollPage::OnCommand(wParam, lParam);
    }
    CWnd* focus = GetFocus();
    const int focusId = focus != nullptr && focus->GetParent() == this ? focus->GetDlgCtrlID() : 0;
    const int element = ElementOfEdit(focusId);
    if (id == IDOK) {
        if (element >= 0 && element != kLoadMinimumElement) {
            RunWriteStep(element);
        }
        return TRUE;
    }
    CEdit* edit = element >= 0 ? EditOfElement(element) : nullptr;
    if (edit == nullptr || !edit->CanUndo()) {
        return FALSE;
    }
    edit->Undo();
    edit->EmptyUndoBuffer();
    return TRUE;
}

void CSettingsPage::OnChangeTypeSelected() {
    WriteChoice(kChangeTypeElement, m_changeType);
}

void CSettingsPage::OnRevSignalSelected() {
    WriteChoice(kRevSignalElement, m_revSignal);
}

void CSettingsPage::OnOxygenSensorSelected() {
    WriteChoice(kOxygenSensorElement, m_oxygenSensor);
}

void CSettingsPage::OnTankValveSelected() {
    WriteChoice(kTankValveElement, m_tankValve);
}

void CSettingsPage::OnTempTypeSelected() {
    WriteChoice(kTempTypeElement, m_tempType);
}

void CSettingsPage::OnPressTypeSelected() {
    WriteChoice(kPressTypeElement, m_pressType);
}

void CSettingsPage::OnLevelTypeSelected() {
    WriteChoice(kLevelTypeElement, m_levelType);
}

void CSettingsPage::OnPumpTypeSelected() {
    WriteChoice(kPumpTypeElement, m_pumpType);
}

void CSettingsPage::OnSliderReleased(NMHDR* header, LRESULT* result) {
    SetLubricationInterval(m_intervalSlider.GetPos(), 2);
    *result = 0;
}

// ---- The lambda check box -------------------------------------------------------------------

void CSettingsPage::OnLambdaCheckClicked() {
    WriteElement(kLambdaElement, m_cache[kLambdaElement] == 0 ? kOn : 0);
    m_lambdaCheck.Invalidate(TRUE);
}

void CSettingsPage::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    if (id != kLambdaCheckId) {
        CScrollPage::OnDrawItem(id, drawItem);
        return;
    }
    const RECT item = drawItem->rcItem;
    const int height = item.bottom - item.top;
    const int inset = height * 10 / 46;
    RECT box = {item.left, item.top + inset, item.left + height - 2 * inset, item.bottom - inset};
    UINT state = DFCS_BUTTONCHECK;
    if (m_cache[kLambdaElement] != 0) {
        state |= DFCS_CHECKED;
    }
    if ((drawItem->itemState & ODS_SELECTED) != 0) {
        state |= DFCS_PUSHED;
    }
    if ((drawItem->itemState & ODS_DISABLED) != 0) {
        state |= DFCS_INACTIVE;
    }
    ::DrawFrameControl(drawItem->hDC, &box, DFC_BUTTON, state);
    if ((drawItem->itemState & ODS_FOCUS) != 0) {
        RECT focus = item;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(drawItem->hDC, &focus);
    }
}
