// The settings page's layout and texts: where each row goes at the page's scale, the font,
// the captions, labels, units and list items in the current language.
#include "classlib/core/FormatText.h"
#include "classlib/win/CFont.h"
#include "config/CSettingsPage.h"
#include "config/CSettingsPageField.h"
#include "config/SettingsPageElements.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CLogger.h"
#include "link/ITextResources.h"

#include <vector>

using namespace SettingsPageElements;

namespace {

// Texts of the string table.
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
}  // namespace

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
    CFont* font =
        GetCachedFont(m_fonts, this, "Verdana", kFontTenths, m_scaleX, m_scaleY, FW_DONTCARE, ANSI_CHARSET);
    if (font == nullptr) {
        CLogger::Instance().Log(3000, "CSettingsPage::SetFonts(): no Verdana font.");
        return;
    }
    SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*font)), FALSE);
}

void CSettingsPage::UpdateTexts() {
    for (const std::vector<GroupLayout>* column : {&LeftGroups(), &RightGroups()}) {
        for (const GroupLayout& group : *column) {
            GetDlgItem(group.groupId)->SetWindowText(LoadText(m_resources, group.captionText));
            for (const RowLayout& row : group.rows) {
                if (row.labelText != 0) {
                    GetDlgItem(row.labelId)->SetWindowText(LoadText(m_resources, row.labelText));
                }
                if (row.unitId != 0) {
                    GetDlgItem(row.unitId)->SetWindowText(LoadText(m_resources, row.unitText));
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
            texts.push_back(LoadText(m_resources, items[i].textId));
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
    const CString voltFormat = LoadText(m_resources, kVoltRangeText);
    for (int i = 0; i < 6; ++i) {
        sensorItems[i].value = static_cast<BYTE>(i);
    }
    for (int i = 0; i < 4; ++i) {
        sensorTexts[i] = FormatText(voltFormat, kSensorVolts[i][0], kSensorVolts[i][1]);
    }
    sensorTexts[4] = LoadText(m_resources, kBroadband5Text);
    sensorTexts[5] = LoadText(m_resources, kBroadband1Text);
    FillList(m_oxygenSensor, sensorItems, 6, sensorTexts);

    FillValveTypes(m_tankValve.GetCurSel());
}

void CSettingsPage::FillValveTypes(int selection) {
    m_tankValve.ResetContent();
    for (int i = 0; i <= m_highestValveType; ++i) {
        const int index = m_tankValve.AddString(LoadText(m_resources, kValveTypeTexts[i]));
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
