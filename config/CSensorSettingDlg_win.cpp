#include "config/CSensorSettingDlg.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "config/CSensorCurvePreset.h"
#include "config/TablesIds.h"
#include "forms/fonts/CFontCache.h"
#include "forms/fonts/GetCachedFont.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "grid/CGridCellBase.h"
#include "link/CDataHandler.h"
#include "link/CLocaleNumberFormat.h"
#include "link/DataHandlerMessages.h"
#include "link/ElementTable.h"
#include "link/ITextResources.h"
#include "link/NumberChecks.h"
#include "shell/ZarvoNames.h"

#include <algorithm>
#include <vector>

namespace {

constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15152;      // "Element out of range: %s <- %c%s; %s%c."

constexpr COLORREF kGrey = RGB(224, 224, 224);
constexpr COLORREF kNormalBack = RGB(224, 224, 255);
constexpr COLORREF kFixedBack = RGB(208, 208, 208);
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Layout in units of the owner's scale.
constexpr int kWidthPerPoint = 28;
constexpr int kBaseWidth = 236;
constexpr int kHeight = 192;
constexpr int kMargin = 12;
constexpr int kLineHeight = 14;
constexpr int kGridHeight = 36;
constexpr int kGap = 6;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 20;
constexpr int kValueWidth = 50;
constexpr int kLabelWidth = 94;
constexpr int kUnitWidth = 36;
constexpr int kReverseWidth = 80;
constexpr int kBoldTenths = 75;
constexpr int kButtonTenths = 80;

// Grid columns: the names, the lower end, the points, the upper end.
constexpr int kFirstPointColumn = 2;
constexpr int kExtraColumns = 3;

}  // namespace

BEGIN_MESSAGE_MAP(CSensorSettingDlg, CDialog)
    ON_NOTIFY(GRIDN_ENDEDIT, IDC_SENSOR_GRID, OnGridEndEdit)
    ON_BN_CLICKED(IDC_SENSOR_REVERSE, OnReverse)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnIgnored)
END_MESSAGE_MAP()

CSensorSettingDlg::CSensorSettingDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

CSensorSettingDlg::~CSensorSettingDlg() {
    if (m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
    }
}

void CSensorSettingDlg::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CSensorSettingDlg::SetMeasuredName(LPCSTR name, LPCSTR unit) {
    m_measuredName = name;
    m_measuredUnit = unit;
}

void CSensorSettingDlg::SetCalculatedName(LPCSTR name, LPCSTR unit) {
    m_calculatedName = name;
    m_calculatedUnit = unit;
}

bool CSensorSettingDlg::RunForButton(int buttonId,
                                     CWnd* owner,
                                     CDataHandler* dataHandler,
                                     ITextResources* resources,
                                     CFontCache* fonts,
                                     double scaleX,
                                     double scaleY) {
    const CSensorCurvePreset* preset = CSensorCurvePreset::FindByButton(buttonId);
    if (preset == nullptr) {
        return false;
    }
    CSensorSettingDlg dialog(owner);
    dialog.SetDataHandler(dataHandler);
    dialog.SetResourceManager(resources);
    dialog.SetFontCache(fonts);
    dialog.SetScale(scaleX, scaleY);
    dialog.ApplyPreset(*preset);
    if (dataHandler != nullptr) {
        dataHandler->RegisterWindow(&dialog);
    }
    dialog.DoModal();
    return true;
}

void CSensorSettingDlg::ApplyPreset(const CSensorCurvePreset& preset) {
    m_curve.SetPointCount(preset.pointCount);
    m_curve.SetMeasuredRange(preset.measuredLower, preset.measuredUpper);
    m_curve.SetCalculatedRange(preset.calculatedLower, preset.calculatedUpper);
    m_curve.SetMeasuredPoints(preset.measured);
    m_curve.SetCalculatedPoints(preset.calculated);
    m_curve.SetReverse(false);
    SetMeasuredDecimals(preset.measuredDecimals);
    SetCalculatedDecimals(preset.calculatedDecimals);
    SetMeasuredName(LoadText(m_resources, preset.measuredName), preset.measuredUnit);
    SetCalculatedName(LoadText(m_resources, preset.calculatedName), preset.calculatedUnit);
    SetMeasuredFixedMask(0);
    SetCalculatedFixedMask(preset.calculatedFixedMask);
    SetLiveElement(preset.liveElement);
}

void CSensorSettingDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_SENSOR_MEASURED_LABEL, m_measuredLabel);
    DDX_Control(exchange, IDC_SENSOR_MEASURED_VALUE, m_measuredValue);
    DDX_Control(exchange, IDC_SENSOR_MEASURED_UNIT, m_measuredUnitText);
    DDX_Control(exchange, IDC_SENSOR_CALCULATED_LABEL, m_calculatedLabel);
    DDX_Control(exchange, IDC_SENSOR_CALCULATED_VALUE, m_calculatedValue);
    DDX_Control(exchange, IDC_SENSOR_CALCULATED_UNIT, m_calculatedUnitText);
    DDX_Control(exchange, IDC_SENSOR_REVERSE, m_reverse);
    DDX_Control(exchange, IDC_SENSOR_FOOTNOTE, m_footnote);
    DDX_Control(exchange, IDOK, m_ok);
    DDX_Control(exchange, IDCANCEL, m_cancel);
}

BOOL CSensorSettingDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Layout();
    return TRUE;
}

void CSensorSettingDlg::Layout() {
    const auto sx = [this](int units) { return static_cast<int>(units * m_scaleX); };
    const auto sy = [this](int units) { return static_cast<int>(units * m_scaleY); };
    const int n = m_curve.GetPointCount();
    const int width = sx(n * kWidthPerPoint + kBaseWidth);
    const int height = sy(kHeight);
    RECT owner = {};
    CWnd* parent = GetParent();
    if (parent != nullptr) {
        parent->GetWindowRect(&owner);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &owner, 0);
    }
    MoveWindow((owner.left + owner.right - width) / 2, (owner.top + owner.bottom - height) / 2, width, height,
               TRUE);

    RECT client = {};
    GetClientRect(&client);
    const int mx = sx(kMargin);
    const int my = sy(kMargin);
    const int inner = client.right - 2 * mx;
    const int line = sy(kLineHeight);
    int y = my;
    m_measuredLabel.MoveWindow(mx, y, sx(kLabelWidth), line, FALSE);
    m_measuredValue.MoveWindow(mx + sx(kLabelWidth), y, sx(kValueWidth), line, FALSE);
    m_measuredUnitText.MoveWindow(mx + sx(kLabelWidth + kValueWidth + kGap), y, sx(kUnitWidth), line, FALSE);
    y += line + sy(kGap);
    const RECT gridRect = {mx, y, mx + inner, y + sy(kGridHeight)};
    if (m_grid.GetSafeHwnd() == nullptr) {
        m_grid.Create(gridRect, this, IDC_SENSOR_GRID);
    } else {
        m_grid.MoveWindow(&gridRect, FALSE);
    }
    y = gridRect.bottom + sy(kGap);
    m_calculatedLabel.MoveWindow(mx, y, sx(kLabelWidth), line, FALSE);
    m_calculatedValue.MoveWindow(mx + sx(kLabelWidth), y, sx(kValueWidth), line, FALSE);
    m_calculatedUnitText.MoveWindow(mx + sx(kLabelWidth + kValueWidth + kGap), y, sx(kUnitWidth), line,
                                    FALSE);
    m_reverse.MoveWindow(mx + inner - sx(kReverseWidth), y, sx(kReverseWidth), line, FALSE);
    y += line + sy(kGap);
    m_footnote.MoveWindow(mx, y, inner, line, FALSE);
    const int buttonTop = client.bottom - my - sy(kButtonHeight);
    m_ok.MoveWindow(mx, buttonTop, sx(kButtonWidth), sy(kButtonHeight), FALSE);
    m_cancel.MoveWindow(mx + inner - sx(kButtonWidth), buttonTop, sx(kButtonWidth), sy(kButtonHeight), FALSE);

    SetFonts();
    SetWindowText(ZarvoNames::TitledCaption(LoadText(m_resources, IDS_SENSOR_TITLE)));
    m_measuredLabel.SetWindowText(LoadText(m_resources, IDS_SENSOR_MEASURED));
    m_calculatedLabel.SetWindowText(LoadText(m_resources, IDS_SENSOR_CALCULATED));
    m_reverse.SetWindowText(LoadText(m_resources, IDS_SENSOR_REVERSE));
    m_footnote.SetWindowText(LoadText(m_resources, IDS_SENSOR_FOOTNOTE));
    m_measuredUnitText.SetWindowText(m_measuredUnit);
    m_calculatedUnitText.SetWindowText(m_calculatedUnit);
    m_reverse.SetCheck(m_curve.IsReverse() ? BST_CHECKED : BST_UNCHECKED);
    m_measuredValue.SetWindowText(
        m_curve.FormatValue(CSensorCharacteristic::kMeasured, m_curve.GetMeasuredLower()));
    m_calculatedValue.SetWindowText(
        m_curve.FormatValue(CSensorCharacteristic::kCalculated, m_curve.Convert(0)));

    SetUpGrid();
    FillGrid();
    // The stretch settles only after the scroll bars have gone; three passes are enough.
    const int firstWidth = inner * 5 / (n + 7);
    for (int pass = 0; pass < 3; ++pass) {
        m_grid.SetColumnWidth(0, firstWidth);
        m_grid.StretchColumnsToWidth(FALSE);
        m_grid.StretchRowsToHeight(TRUE);
        m_grid.Refresh();
    }
    Invalidate(TRUE);
}

void CSensorSettingDlg::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    CFont* boldFont = GetCachedFont(m_fonts, this, "Arial", kBoldTenths, m_scaleX, m_scaleY, FW_BOLD);
    CFont* buttonFont = GetCachedFont(m_fonts, this, "Verdana", kButtonTenths, m_scaleX, m_scaleY, FW_NORMAL);
    if (boldFont != nullptr) {
        for (CWnd* control : std::initializer_list<CWnd*>{
                 &m_measuredLabel, &m_measuredValue, &m_measuredUnitText, &m_calculatedLabel,
                 &m_calculatedValue, &m_calculatedUnitText, &m_reverse, &m_footnote}) {
            control->SetFont(*boldFont, FALSE);
        }
    }
    if (buttonFont != nullptr) {
        m_ok.SetFont(*buttonFont, FALSE);
        m_cancel.SetFont(*buttonFont, FALSE);
    }
}

void CSensorSettingDlg::SetUpGrid() {
    m_grid.SetRowCount(0);
    m_grid.SetColumnCount(0);
    m_grid.ClearSelection();
    m_grid.SetSortCompareFunction(nullptr);
    m_grid.SetGridLines(GRID_LINES_BOTH);
    m_grid.SetListMode(FALSE);
    m_grid.SetRowCount(2);
    m_grid.SetColumnCount(m_curve.GetPointCount() + kExtraColumns);
    m_grid.SetFixedRowCount(0);
    m_grid.SetFixedColumnCount(1);
    const LOGFONTA font = MakeScaledLogFont(this, "Arial", kBoldTenths, FW_BOLD, m_scaleX, m_scaleY);
    for (const BOOL fixedCol : {FALSE, TRUE}) {
        CGridCellBase* cell = m_grid.GetDefaultCell(FALSE, fixedCol);
        if (cell == nullptr) {
            continue;
        }
        cell->SetFont(&font);
        cell->SetFormat(kCentred);
        cell->SetMargin(0);
        cell->SetBackColour(fixedCol ? kFixedBack : kNormalBack);
    }
}

CSensorCharacteristic::Row CSensorSettingDlg::RowOf(int gridRow) {
    return gridRow == 0 ? CSensorCharacteristic::kMeasured : CSensorCharacteristic::kCalculated;
}

void CSensorSettingDlg::FillGrid() {
    const int n = m_curve.GetPointCount();
    const int lastColumn = n + kExtraColumns - 1;
    m_grid.SetCellTextFormat(0, 0, "%s ( %s )", static_cast<LPCSTR>(m_measuredName),
                             static_cast<LPCSTR>(m_measuredUnit));
    m_grid.SetCellTextFormat(1, 0, "%s ( %s )", static_cast<LPCSTR>(m_calculatedName),
                             static_cast<LPCSTR>(m_calculatedUnit));
    m_grid.SetCellText(0, 1,
                       m_curve.FormatValue(CSensorCharacteristic::kMeasured, m_curve.GetMeasuredLower()));
    m_grid.SetCellText(1, 1, LoadText(m_resources, IDS_SENSOR_BROKEN_WIRE));
    m_grid.SetCellText(0, lastColumn,
                       m_curve.FormatValue(CSensorCharacteristic::kMeasured, m_curve.GetMeasuredUpper()));
    m_grid.SetCellText(1, lastColumn, LoadText(m_resources, IDS_SENSOR_SHORT_CIRCUIT));
    for (int row = 0; row < 2; ++row) {
        for (const int col : {1, lastColumn}) {
            m_grid.SetCellBackColour(row, col, kGrey);
            m_grid.SetCellState(row, col, m_grid.GetCellState(row, col) | GRID_STATE_READONLY);
        }
        for (int k = 0; k < n; ++k) {
            const int col = k + kFirstPointColumn;
            if (m_curve.IsFixed(RowOf(row), k)) {
                m_grid.SetCellBackColour(row, col, kGrey);
                m_grid.SetCellState(row, col, m_grid.GetCellState(row, col) | GRID_STATE_READONLY);
            }
        }
    }
    for (int k = 0; k < n; ++k) {
        m_grid.SetCellText(0, k + kFirstPointColumn,
                           m_curve.FormatValue(CSensorCharacteristic::kMeasured,
                                               m_curve.GetPoint(CSensorCharacteristic::kMeasured, k)));
    }
    FillCalculatedRow();
}

void CSensorSettingDlg::FillCalculatedRow() {
    for (int k = 0; k < m_curve.GetPointCount(); ++k) {
        m_grid.SetCellText(1, k + kFirstPointColumn,
                           m_curve.FormatValue(CSensorCharacteristic::kCalculated,
                                               m_curve.GetPoint(CSensorCharacteristic::kCalculated, k)));
    }
}

void CSensorSettingDlg::OnGridEndEdit(NMHDR* header, LRESULT* result) {
    const auto* record = reinterpret_cast<const GridNotifyRecord*>(header);
    *result = -1;
    const int index = record->col - kFirstPointColumn;
    if (record->row < 0 || record->row > 1 || index < 0 || index >= m_curve.GetPointCount()) {
        return;
    }
    const CSensorCharacteristic::Row row = RowOf(record->row);
    // The grid keeps read-only cells from editing; a notice for one anyway changes nothing.
    if (m_curve.IsFixed(row, index)) {
        return;
    }
    double value = 0;
    const CString text = m_grid.GetCellText(record->row, record->col);
    if (!AcceptEdit(row, index, text, value)) {
        return;
    }
    m_grid.SetCellText(record->row, record->col, m_curve.FormatValue(row, value));
    *result = 0;
}

bool CSensorSettingDlg::AcceptEdit(CSensorCharacteristic::Row row, int index, LPCSTR text, double& value) {
    const DWORD language = m_resources != nullptr ? m_resources->GetLanguageId() : 0;
    const CLocaleNumberFormat format = CLocaleNumberFormat::FromLocale(language);
    double typed = 0;
    if (!IsValidDecimalText(language, text) ||
        !CSensorCharacteristic::ParseDecimal(text, format.m_decimalSeparator.c_str(), typed)) {
        AfxMessageBox(FormatText(LoadText(m_resources, kInvalidElementText), text),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    value = m_curve.Truncate(row, typed);
    const CSensorCharacteristic::Bounds bounds = m_curve.EditBounds(row, index);
    if (bounds.lower < value && value < bounds.upper) {
        return true;
    }
    AfxMessageBox(m_curve.RangeMessage(row, LoadText(m_resources, kOutOfRangeText), value, bounds),
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CSensorSettingDlg::OnReverse() {
    m_curve.Reverse();
    FillCalculatedRow();
    m_grid.Invalidate(TRUE);
}

void CSensorSettingDlg::ShowLiveValues(double measured) {
    m_measuredValue.SetWindowText(m_curve.FormatValue(CSensorCharacteristic::kMeasured, measured));
    m_calculatedValue.SetWindowText(
        m_curve.FormatValue(CSensorCharacteristic::kCalculated, m_curve.Convert(measured)));
}

LRESULT CSensorSettingDlg::OnNewData(WPARAM wParam, LPARAM lParam) {
    if (m_liveElement < 0 || m_liveElement >= kElementCount || m_dataHandler == nullptr) {
        ShowLiveValues(0);
        return 0;
    }
    const int length = m_dataHandler->GetElementLength(m_liveElement);
    std::vector<BYTE> bytes(static_cast<std::size_t>(std::max(length, 2)), 0);
    m_dataHandler->ReadData(m_liveElement, bytes.data());
    const int millivolts = bytes[0] | bytes[1] << 8;
    ShowLiveValues(millivolts * 0.001);
    return 0;
}

LRESULT CSensorSettingDlg::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}
