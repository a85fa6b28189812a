#include "config/CConfigDynamic.h"

#include "calib/CAdaptSettingsDlg.h"
#include "calib/CCalibSettingsDlg.h"
#include "calib/CalibratorAdapDlg.h"
#include "calib/CalibratorContDlg.h"
#include "calib/CalibratorPts.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CScopedSelect.h"
#include "config/CMeasurementEditDlg.h"
#include "config/FitGridColumns.h"
#include "config/MapPageIds.h"
#include "forms/fonts/CFontCache.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "forms/ScaledLength.h"
#include "grid/CGridCellBase.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <vector>

BEGIN_MESSAGE_MAP(CConfigDynamic, CScrollPage)
    ON_NOTIFY(GRIDN_ENDEDIT, CConfigDynamic::kGridId, OnGridEndEdit)
    ON_CBN_SELCHANGE(CConfigDynamic::kAngleComboId, OnComboChanged)
    ON_MESSAGE(CMeasurementGridCtrl::kHotKeyStepMessage, OnHotKeys)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnDataChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnLiveCycle)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_EN_KILLFOCUS(CConfigDynamic::kBaseEditId, ApplyBasePercentEdit)
    ON_BN_CLICKED(CConfigDynamic::kCalCellId, OnCalCell)
    ON_BN_CLICKED(CConfigDynamic::kCalibSettingsId, OnCalibrationSettings)
    ON_COMMAND(CMeasurementGridCtrl::kAddCommand, OnNewMeasurement)
    ON_COMMAND(CMeasurementGridCtrl::kEditCommand, OnEditMeasurement)
    ON_COMMAND(CMeasurementGridCtrl::kDeleteCommand, OnDeleteMeasurement)
    ON_COMMAND(CMeasurementGridCtrl::kShowMarksCommand, OnShowMeasurements)
    ON_COMMAND(CMeasurementGridCtrl::kShowSummaryCommand, OnShowSummary)
    ON_COMMAND(CMeasurementGridCtrl::kDeleteAllCommand, OnDeleteAllMeasurements)
    ON_COMMAND(CMeasurementGridCtrl::kTotalizeCommand, OnTotalize)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

namespace {

// Elements.
constexpr int kAngleElement = 6;
constexpr int kBaseElement = 7;
constexpr int kMapElement = 8;
constexpr int kStatusElement = 30;
constexpr int kLambdaElement = 34;
constexpr int kMinimumInjectionElement = 50;
constexpr int kExtendedElement = 79;
constexpr int kCorrectionElement = 92;
constexpr int kObdElement = 95;
constexpr int kObdOptionsOffset = 12;
constexpr int kObdLongTrimOffBit = 0x02;

// Texts of the string table.
constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15037;      // "Element out of range: %d."
constexpr UINT kOffsetText = IDS_MAP_OFFSET;
constexpr UINT kPointCalibrationText = IDS_MAP_POINT_CALIBRATION;
constexpr UINT kGasCorrectionText = IDS_MAP_GAS_CORRECTION;
constexpr UINT kByInjectionText = IDS_MAP_BY_INJECTION;
constexpr UINT kByTrimText = IDS_MAP_BY_TRIM;
constexpr UINT kAutomaticText = IDS_MAP_AUTOMATIC;
constexpr UINT kDeleteAllQuestionText = IDS_MAP_DELETE_ALL_QUESTION;
constexpr UINT kSummaryText = IDS_MAP_SUMMARY;

// Accelerator commands.
constexpr UINT kUndoCommand = 32771;
constexpr UINT kRedoCommand = 32772;
constexpr UINT kAdaptSettingsCommand = 32787;
constexpr UINT kStepUpCommand = 32789;
constexpr UINT kStepDownCommand = 32790;
constexpr UINT kF3 = 0x72;
constexpr UINT kF4 = 0x73;
constexpr UINT kNumpadMinus = 0x6D;

// Colours (0x00BBGGRR).
constexpr COLORREF kCellBack = 0xFFE0E0;
constexpr COLORREF kEvenRowBack = 0xEFD0D0;
constexpr COLORREF kHeaderBack = 0xD0D0D0;
constexpr COLORREF kCornerBack = 0xF0F0F0;
constexpr COLORREF kLambdaUpper = 0x0066FF;
constexpr COLORREF kLambdaLower = 0xFF7700;
constexpr UINT kCellFormat = 37;  // centred, vertically centred, single line

constexpr double kLambdaLow = 0.8;
constexpr double kLambdaHigh = 1.2;
constexpr int kMeasurementLimit = 99;
constexpr int kAngleSteps = 72;  // 0 to 720 degrees in steps of 10

// "Settings - Adaptiv" is open.
bool g_adaptSettingsOpen = false;

// The string table's texts carry their own conversions.
CString FormatText(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return text;
}

}  // namespace

CConfigDynamic::CConfigDynamic(CWnd* parent) : CScrollPage(kTemplateId, parent), m_obdPanel(this) {
    m_editor.SetView(this);
}

// The data handler must not post to a page that is gone.
CConfigDynamic::~CConfigDynamic() {
    m_editor.SetView(nullptr);
    if (!m_registered || m_dataHandler == nullptr) {
        return;
    }
    for (const int element : {kBaseElement, kMapElement, kAngleElement, kMinimumInjectionElement}) {
        m_dataHandler->Unsubscribe(this, element, 3);
    }
    m_dataHandler->Unsubscribe(this, kExtendedElement, 1);
    m_dataHandler->UnregisterWindow(this);
}

void CConfigDynamic::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        ::PostMessageA(window, message, wParam, lParam);
    }
}

CString CConfigDynamic::LoadText(UINT id) const {
    CString text;
    if (m_resources != nullptr) {
        m_resources->GetString(id, text);
    }
    return text;
}

DWORD CConfigDynamic::LanguageId() const {
    return m_resources != nullptr ? m_resources->GetLanguageId() : LOCALE_USER_DEFAULT;
}

BYTE CConfigDynamic::ReadByte(int element) {
    std::vector<BYTE> bytes(std::max<std::size_t>(1, std::max(0, m_dataHandler->GetElementLength(element))));
    m_dataHandler->ReadData(element, bytes.data());
    return bytes[0];
}

void CConfigDynamic::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kBaseEditId, m_baseEdit);
    DDX_Control(exchange, kBaseLabelId, m_baseLabel);
    DDX_Control(exchange, kCorrectionLabelId, m_correctionLabel);
    DDX_Control(exchange, kCorrectionId, m_correction);
    DDX_Control(exchange, kLambdaBarId, m_lambdaBar);
    DDX_Control(exchange, kLambdaValueId, m_lambdaValue);
    DDX_Control(exchange, kLambdaLabelId, m_lambdaLabel);
    DDX_Control(exchange, kCalCellId, m_calCell);
    DDX_Control(exchange, kCalibSettingsId, m_calibSettings);
    DDX_Control(exchange, kAngleComboId, m_angleCombo);
}

BOOL CConfigDynamic::OnInitDialog() {
    CScrollPage::OnInitDialog();
    m_activeDialog = nullptr;
    m_extended = false;
    m_obdOptions = 0;
    m_crankAngle = 0;
    m_minimumInjectionUs = 1000;
    m_editor.SetDataHandler(m_dataHandler);
    m_editor.SetCrankAngle(0);
    m_editor.SetMinimumInjection(m_minimumInjectionUs);
    ResetLiveDisplay();
    if (m_dataHandler != nullptr && !m_registered) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kBaseElement, 3);
        m_dataHandler->Subscribe(this, kMapElement, 3);
        m_dataHandler->Subscribe(this, kAngleElement, 3);
        m_dataHandler->Subscribe(this, kExtendedElement, 1);
        m_dataHandler->Subscribe(this, kMinimumInjectionElement, 3);
        m_registered = true;
    }
    for (int step = 0; step <= kAngleSteps; ++step) {
        m_angleCombo.SetItemData(m_angleCombo.AddString(FormatText("%d", step * 10)), step);
    }
    m_baseEdit.SendMessage(EM_LIMITTEXT, 4);
    Layout();
    m_grid.SetDataHandler(m_dataHandler);
    m_grid.SetResourceManager(m_resources);
    m_grid.SetPage(this);
    m_grid.Init();
    UpdateTexts();
    return TRUE;
}

// ---- Layout, fonts and texts ----------------------------------------------------------------

LOGFONTA CConfigDynamic::MakeFont(const char* face, int tenthsPoint, int weight) {
    return MakeScaledLogFont(this, face, tenthsPoint, weight, m_scaleX, m_scaleY);
}

void CConfigDynamic::Layout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int margin = ScaledLength(4, sx);
    const int rightWidth = ScaledLength(170, sx);
    const int rightX = width - rightWidth - margin;
    const int labelHeight = ScaledLength(16, sy);
    const int gridTop = margin + labelHeight;
    const RECT gridRect = {margin, gridTop, rightX - margin, height - margin};

    GetDlgItem(kMsLabelId)->MoveWindow(margin, margin, ScaledLength(40, sx), labelHeight, FALSE);
    GetDlgItem(kRpmLabelId)
        ->MoveWindow(gridRect.right - ScaledLength(40, sx), margin, ScaledLength(40, sx), labelHeight, FALSE);
    if (m_grid.GetSafeHwnd() == nullptr && !m_grid.Create(gridRect, this, kGridId)) {
        CLogger::Instance().Log(3000, "CConfigDynamic::Layout(): the map grid was not created.");
    }

    int y = margin;
    const int labelWidth = ScaledLength(110, sx);
    const int fieldWidth = rightWidth - labelWidth - ScaledLength(4, sx);
    const int rowHeight = ScaledLength(20, sy);
    m_baseLabel.MoveWindow(rightX, y + ScaledLength(2, sy), labelWidth, labelHeight, FALSE);
    m_baseEdit.MoveWindow(rightX + labelWidth + ScaledLength(4, sx), y, fieldWidth, rowHeight, FALSE);
    y += rowHeight + ScaledLength(6, sy);
    m_correctionLabel.MoveWindow(rightX, y, labelWidth, labelHeight, FALSE);
    m_correction.MoveWindow(rightX + labelWidth + ScaledLength(4, sx), y, fieldWidth, labelHeight, FALSE);
    y += labelHeight + ScaledLength(6, sy);
    const int barHeight = ScaledLength(110, sy);
    m_lambdaBar.MoveWindow(rightX, y, ScaledLength(70, sx), barHeight, FALSE);
    m_lambdaLabel.MoveWindow(rightX + ScaledLength(76, sx), y + barHeight / 2 - labelHeight,
                             ScaledLength(20, sx), labelHeight, FALSE);
    m_lambdaValue.MoveWindow(rightX + ScaledLength(98, sx), y + barHeight / 2 - labelHeight,
                             ScaledLength(60, sx), labelHeight, FALSE);
    y += barHeight + ScaledLength(6, sy);
    m_calCell.MoveWindow(rightX, y, rightWidth, ScaledLength(24, sy), FALSE);
    y += ScaledLength(30, sy);

    m_obdPanel.SetDataHandler(m_dataHandler);
    m_obdPanel.SetResourceManager(m_resources);
    m_obdPanel.SetFontCache(m_fonts);
    m_obdPanel.SetScale(sx, sy);
    m_obdPanel.SetPlacement(rightX, y, rightX + rightWidth, height - margin);
    if (m_obdPanel.GetSafeHwnd() == nullptr) {
        m_obdPanel.Create(CObdAdaptationPage::kTemplateId, this);
        m_obdPanel.ShowWindow(SW_SHOW);
    }
    m_lambdaBar.SetScale(kLambdaLow, kLambdaHigh, 2, "", kLambdaUpper, kLambdaLower);
    m_lambdaBar.SetLayout(sx, sy, 2, 4, 2, 12, 1);
    m_angleCombo.ShowWindow(SW_HIDE);
    m_calibSettings.ShowWindow(SW_HIDE);
    SetUpGrid();
    SetFonts();
    SetContentHeight(0);
    Invalidate(TRUE);
}

void CConfigDynamic::SetUpGrid() {
    if (m_grid.GetSafeHwnd() == nullptr) {
        return;
    }
    const LOGFONTA cellFont = MakeFont("Arial", 80, FW_NORMAL);
    const LOGFONTA headerFont = MakeFont("Arial", 75, FW_BOLD);
    for (const BOOL fixedRow : {FALSE, TRUE}) {
        for (const BOOL fixedColumn : {FALSE, TRUE}) {
            CGridCellBase* cell = m_grid.GetDefaultCell(fixedRow, fixedColumn);
            const bool header = fixedRow || fixedColumn;
            cell->SetFont(header ? &headerFont : &cellFont);
            cell->SetMargin(0);
            cell->SetFormat(kCellFormat);
            cell->SetBackColour(!header ? kCellBack : (fixedRow && fixedColumn ? kCornerBack : kHeaderBack));
        }
    }
    m_grid.SetMarkFont(MakeFont("MS Shell Dlg", 60, FW_NORMAL));
    m_grid.EnableWindow(FALSE);
}

void CConfigDynamic::SetFonts() {
    m_tipFont = MakeFont("Arial", 72, FW_NORMAL);
    m_popupFont = MakeFont("Verdana", 80, FW_NORMAL);
    if (m_fonts == nullptr) {
        return;
    }
    const LOGFONTA labelFont = MakeFont("Verdana", 79, FW_NORMAL);
    const LOGFONTA valueFont = MakeFont("Arial", 75, FW_BOLD);
    LOGFONTA symbolFont = MakeFont("Symbol", 80, FW_NORMAL);
    symbolFont.lfCharSet = SYMBOL_CHARSET;
    for (const int id : {kBaseLabelId, kCorrectionLabelId, kMsLabelId, kRpmLabelId, kCalCellId}) {
        GetDlgItem(id)->SetFont(*m_fonts->GetFont(&labelFont));
    }
    m_baseEdit.SetFont(*m_fonts->GetFont(&m_popupFont));
    m_lambdaBar.SetFont(*m_fonts->GetFont(&m_popupFont));
    m_correction.SetFont(*m_fonts->GetFont(&valueFont));
    m_lambdaValue.SetFont(*m_fonts->GetFont(&valueFont));
    m_lambdaLabel.SetFont(*m_fonts->GetFont(&symbolFont));
}

void CConfigDynamic::UpdateTexts() {
    MeasurePopupItems();
    m_baseLabel.SetWindowText(LoadText(kOffsetText));
    m_calCell.SetWindowText(LoadText(kPointCalibrationText));
    m_correctionLabel.SetWindowText(LoadText(kGasCorrectionText));
    ResetLiveDisplay();
}

void CConfigDynamic::MeasurePopupItems() {
    CClientDC dc(this);
    CFont* font = m_fonts != nullptr ? m_fonts->GetFont(&m_popupFont) : nullptr;
    HGDIOBJ selected = font != nullptr ? font->GetSafeHandle() : GetStockObject(DEFAULT_GUI_FONT);
    CScopedSelect scoped(dc, selected);
    int widest = 0;
    int tallest = 0;
    for (const UINT id : {kByInjectionText, kByTrimText, kAutomaticText}) {
        const CSize extent = dc.GetTextExtent(LoadText(id));
        widest = std::max(widest, static_cast<int>(extent.cx));
        tallest = std::max(tallest, static_cast<int>(extent.cy));
    }
    m_popupWidth = widest + 8;
    m_popupHeight = tallest + 4;
}

void CConfigDynamic::ResetLiveDisplay() {
    m_lambdaBar.SetValue(1.0);
    if (m_lambdaBar.GetSafeHwnd() != nullptr) {
        m_lambdaBar.Invalidate();
        m_lambdaValue.SetWindowText(FormatText("%.2f ", 0.0));
        m_lambdaLabel.SetWindowText("l:");
        m_correction.SetWindowText("0 %");
    }
}

// ---- The map in the grid ---------------------------------------------------------------------

// The axis headers, the times in the language's decimal separator.
void CConfigDynamic::ShowAxes() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    for (int c = 0; c < columns; ++c) {
        m_grid.SetCellText(0, c + 1, FormatText("%d", map.GetRpm(c)));
    }
    for (int r = 0; r < rows; ++r) {
        m_grid.SetCellText(r + 1, 0, FormatText("%.02f", map.GetTimeUs(r) * 0.001));
    }
}

void CConfigDynamic::ShowLoadedMap() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int columns = map.GetColumnCount();
    const int rows = map.GetRowCount();
    m_grid.SetRowCount(rows + 1);
    m_grid.SetColumnCount(columns + 1);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetCellText(0, 0, "%");
    m_grid.SetCellBackColour(0, 0, kHeaderBack);
    ShowAxes();
    for (int r = 0; r < rows; ++r) {
        if (r % 2 == 0) {
            for (int c = 0; c < columns; ++c) {
                m_grid.SetCellBackColour(r + 1, c + 1, kEvenRowBack);
            }
        }
    }
    ShowCellTexts();
    m_grid.SetListMode(FALSE);
    m_grid.SetGridLines(GRID_LINES_BOTH);
    m_grid.ClearSelection();
    m_grid.Invalidate();
    FitGridColumns(m_grid);
    m_grid.SetSortCompareFunction(nullptr);
    int rpm[CCorrectionMap::kMaxBreakpoints] = {};
    int timeUs[CCorrectionMap::kMaxBreakpoints] = {};
    for (int c = 0; c < columns; ++c) {
        rpm[c] = map.GetRpm(c);
    }
    for (int r = 0; r < rows; ++r) {
        timeUs[r] = map.GetTimeUs(r);
    }
    m_grid.SetAxes(columns, rpm, rows, timeUs);
    m_editor.GetMeasurements().ReloadMeasurements();
    ShowMeasurementCoverage();
    m_grid.EnableWindow(TRUE);
}

void CConfigDynamic::ShowCellTexts() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            m_grid.SetCellText(r + 1, c + 1, FormatText("%d", map.GetCell(r, c)));
            m_grid.SetCellTextColour(r + 1, c + 1, m_editor.CellTextColour(r, c));
        }
    }
    m_grid.Invalidate();
}

void CConfigDynamic::RecolourCells() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            m_grid.SetCellTextColour(r + 1, c + 1, m_editor.CellTextColour(r, c));
        }
    }
    if (m_grid.GetSafeHwnd() != nullptr) {
        m_grid.Invalidate();
    }
}

void CConfigDynamic::ShowMeasurementCoverage() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    const std::vector<int> coverage = m_editor.GetMeasurements().GetCoverage();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int kind = coverage[static_cast<std::size_t>(r * map.GetColumnCount() + c)];
            m_grid.SetCellBackColour(r + 1, c + 1, CMapEditor::CoverageColour(kind, r));
        }
    }
    if (m_grid.GetSafeHwnd() != nullptr) {
        m_grid.Invalidate();
    }
}

void CConfigDynamic::ShowMeasurementMarks(const std::vector<const CMapMeasurement*>& representatives) {
    m_grid.ClearMarks();
    for (const CMapMeasurement* measurement : representatives) {
        m_grid.AddMark(*measurement);
    }
    m_grid.InvalidateMarks();
}

int CConfigDynamic::GetCell(int row, int column) {
    return m_editor.GetCell(row, column);
}

bool CConfigDynamic::FormatSummary(CString& text, LOGFONTA& font, int row, int column) {
    const CCorrectionMap& map = m_editor.GetMap();
    if (row < 1 || column < 1 || row > map.GetRowCount() || column > map.GetColumnCount()) {
        return false;
    }
    text = m_editor.FormatSummary(LoadText(kSummaryText), row - 1, column - 1);
    font = m_tipFont;
    return true;
}

// ---- Data handler messages -------------------------------------------------------------------

LRESULT CConfigDynamic::OnDataChanged(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    const int element = LOWORD(lParam);
    const LPARAM source = lParam & 0xFFFF0000;
    switch (element) {
    case kAngleElement:
        m_crankAngle = ReadByte(kAngleElement);
        m_angleCombo.SetCurSel(m_crankAngle);
        m_editor.SetCrankAngle(m_crankAngle);
        RecolourCells();
        break;
    case kBaseElement:
        m_editor.GetMap().ParseBaseElementData(ReadByte(kBaseElement));
        m_baseEdit.SetWindowText(FormatText("%d", m_editor.GetBasePercent()));
        m_baseEdit.SendMessage(EM_SETSEL, 0, -1);
        m_baseEdit.SendMessage(EM_SCROLLCARET);
        RecolourCells();
        if (source == kReasonLoaded) {
            m_baseEdit.EnableWindow(TRUE);
        }
        break;
    case kMapElement:
        if (source == kReasonLoaded && wParam != 0) {
            std::vector<BYTE> bytes(std::max(0, m_dataHandler->GetElementLength(kMapElement)));
            m_dataHandler->ReadData(kMapElement, bytes.data());
            m_editor.GetMap().ClearUndo();
            m_editor.GetMap().ClearRedo();
            if (m_editor.GetMap().ParseElementData(bytes.data(), bytes.size())) {
                ShowLoadedMap();
            } else {
                m_grid.ClearMarks();
                m_grid.DeleteAllItems();
                m_grid.SetAxes(0, nullptr, 0, nullptr);
                m_grid.EnableWindow(FALSE);
            }
            EnableCalibration();
        } else if (source == kReasonChanged) {
            std::vector<BYTE> bytes(std::max(0, m_dataHandler->GetElementLength(kMapElement)));
            m_dataHandler->ReadData(kMapElement, bytes.data());
            m_editor.GetMap().ParseElementData(bytes.data(), bytes.size());
            ShowCellTexts();
        }
        break;
    case kMinimumInjectionElement: {
        std::vector<BYTE> bytes(std::max(2, m_dataHandler->GetElementLength(kMinimumInjectionElement)));
        m_dataHandler->ReadData(kMinimumInjectionElement, bytes.data());
        m_minimumInjectionUs = bytes[0] | (bytes[1] << 8);
        m_editor.SetMinimumInjection(m_minimumInjectionUs);
        RecolourCells();
        break;
    }
    case kExtendedElement:
        if (source == kReasonLoaded && wParam != 0) {
            m_extended = ReadByte(kExtendedElement) != 0;
            m_pointCore.SetExtendedMode(m_extended ? 1 : 0);
        }
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CConfigDynamic::OnStatusChanged(WPARAM wParam, LPARAM) {
    m_linkUp = IsLinkUp(static_cast<int>(wParam));
    if (!m_linkUp) {
        ResetLiveDisplay();
    }
    EnableCalibration();
    return 0;
}

// A calibration needs the unit and a map: the button stays off until both are there.
void CConfigDynamic::EnableCalibration() {
    const bool enable = m_linkUp && !m_editor.GetMap().IsEmpty();
    if (!enable && CWnd::GetFocus() == &m_calCell) {
        SendMessage(WM_NEXTDLGCTL);
    }
    m_calCell.EnableWindow(enable ? TRUE : FALSE);
}

LRESULT CConfigDynamic::OnLiveCycle(WPARAM, LPARAM) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    std::vector<BYTE> lambda(std::max(2, m_dataHandler->GetElementLength(kLambdaElement)));
    m_dataHandler->ReadData(kLambdaElement, lambda.data());
    const double value = std::clamp((lambda[0] | (lambda[1] << 8)) * 0.001, kLambdaLow, kLambdaHigh);
    m_lambdaBar.SetValue(value);
    m_lambdaBar.Invalidate();
    m_lambdaValue.SetWindowText(FormatText("%.2f ", value));
    m_lambdaLabel.SetWindowText("l:");
    m_correction.SetWindowText(FormatText("%d %%", static_cast<signed char>(ReadByte(kCorrectionElement))));
    if (m_dataHandler->IsReadSupported(kObdElement) >= 1) {
        std::vector<BYTE> obd(std::max(kObdOptionsOffset + 1, m_dataHandler->GetElementLength(kObdElement)));
        m_dataHandler->ReadData(kObdElement, obd.data());
        m_obdOptions = obd[kObdOptionsOffset];
    }
    return 0;
}

LRESULT CConfigDynamic::OnLanguageChanged(WPARAM, LPARAM) {
    UpdateTexts();
    if (m_grid.GetSafeHwnd() != nullptr) {
        ShowAxes();
        m_grid.Invalidate();
    }
    return 0;
}

// ---- Edits ---------------------------------------------------------------------------------------

void CConfigDynamic::ReportOutcome(const MapEditOutcome& outcome, LPCSTR text) {
    if (outcome.result == MapEditOutcome::NotANumber) {
        AfxMessageBox(FormatText(LoadText(kInvalidElementText), text), MB_OK | MB_ICONEXCLAMATION);
    } else if (outcome.result == MapEditOutcome::OutOfRange) {
        AfxMessageBox(FormatText(LoadText(kOutOfRangeText), outcome.value), MB_OK | MB_ICONEXCLAMATION);
    }
}

bool CConfigDynamic::SelectedBox(MapCellBox& box) {
    const GridCellRange range = m_grid.GetSelectionBounds();
    if (!m_grid.IsValidRange(range)) {
        return false;
    }
    box = {std::max(range.minCol, 1) - 1, std::max(range.minRow, 1) - 1, range.maxCol - 1, range.maxRow - 1};
    return m_editor.GetMap().IsValidBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow);
}

void CConfigDynamic::SelectBox(const MapCellBox& box) {
    m_grid.SetSelectedRange(box.firstRow + 1, box.firstColumn + 1, box.lastRow + 1, box.lastColumn + 1, TRUE);
    m_grid.SetFocusRowCol(box.firstRow + 1, box.firstColumn + 1);
}

// The grid keeps its old text; the new value shows when element 8 comes back.
void CConfigDynamic::OnGridEndEdit(NMHDR* header, LRESULT* result) {
    *result = -1;
    const GridNotifyRecord* record = reinterpret_cast<const GridNotifyRecord*>(header);
    const CString text = m_grid.GetCellText(record->row, record->col);
    MapCellBox box;
    if (!SelectedBox(box)) {
        box = {record->col - 1, record->row - 1, record->col - 1, record->row - 1};
    }
    ReportOutcome(m_editor.EditCells(text, LanguageId(), box), text);
}

LRESULT CConfigDynamic::OnHotKeys(WPARAM wParam, LPARAM lParam) {
    int step = lParam == static_cast<LPARAM>(kF4) || lParam == static_cast<LPARAM>(kNumpadMinus) ? -1 : 1;
    if (wParam != 0) {
        step *= 10;
    }
    MapCellBox box;
    if (!SelectedBox(box)) {
        return 0;
    }
    ReportOutcome(m_editor.StepCells(step, box), "");
    return 0;
}

void CConfigDynamic::HandlePaste() {
    MapCellBox box;
    if (!SelectedBox(box)) {
        return;
    }
    std::vector<int> percents;
    for (int r = box.firstRow; r <= box.lastRow; ++r) {
        for (int c = box.firstColumn; c <= box.lastColumn; ++c) {
            percents.push_back(static_cast<int>(std::strtol(m_grid.GetCellText(r + 1, c + 1), nullptr, 10)));
        }
    }
    m_editor.PasteCells(box, percents);
}

void CConfigDynamic::UndoBaseEdit() {
    m_baseEdit.SendMessage(EM_UNDO);
    m_baseEdit.SendMessage(EM_EMPTYUNDOBUFFER);
}

void CConfigDynamic::ApplyBasePercentEdit() {
    if (m_refusing) {
        return;
    }
    CString text;
    m_baseEdit.GetWindowText(text);
    const MapEditOutcome outcome = m_editor.CheckBaseText(text, LanguageId());
    if (outcome.result != MapEditOutcome::Done) {
        m_refusing = true;
        ReportOutcome(outcome, text);
        UndoBaseEdit();
        m_refusing = false;
        return;
    }
    if (outcome.value == m_editor.GetBasePercent()) {
        m_baseEdit.SetWindowText(FormatText("%d", outcome.value));
        m_baseEdit.SendMessage(EM_SETSEL, 0, -1);
        return;
    }
    m_editor.SetBasePercent(outcome.value);
}

void CConfigDynamic::OnComboChanged() {
    const int index = m_angleCombo.GetCurSel();
    if (index < 0 || m_dataHandler == nullptr) {
        return;
    }
    const BYTE value = static_cast<BYTE>(m_angleCombo.GetItemData(index));
    if (value != m_crankAngle) {
        m_dataHandler->WriteData(kAngleElement, &value);
    }
}

// ---- Commands ---------------------------------------------------------------------------------

bool CConfigDynamic::HandleAccelerator(UINT id) {
    MapCellBox box;
    switch (id) {
    case kUndoCommand:
        if (m_editor.UndoBox(box)) {
            SelectBox(box);
        }
        return true;
    case kRedoCommand:
        if (m_editor.RedoBox(box)) {
            SelectBox(box);
        }
        return true;
    case kAdaptSettingsCommand:
        if (!g_adaptSettingsOpen) {
            g_adaptSettingsOpen = true;
            CAdaptSettingsDlg dialog(this);
            dialog.SetCores(&m_adaptiveCore, &m_continuousCore);
            dialog.SetResourceManager(m_resources);
            RunDialog(dialog);
            g_adaptSettingsOpen = false;
        }
        return true;
    case kStepUpCommand:
    case kStepDownCommand:
        PostMessage(CMeasurementGridCtrl::kHotKeyStepMessage, (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? 1 : 0,
                    id == kStepUpCommand ? kF3 : kF4);
        return true;
    default:
        return false;
    }
}

BOOL CConfigDynamic::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (m_activeDialog != nullptr && m_activeDialog->GetSafeHwnd() != nullptr) {
        ::PostMessageA(m_activeDialog->GetSafeHwnd(), WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    const UINT id = LOWORD(wParam);
    const bool baseEditFocused = CWnd::GetFocus() == &m_baseEdit;
    if (HIWORD(wParam) == 0 && id == IDOK) {
        if (baseEditFocused) {
            ApplyBasePercentEdit();
        }
        return TRUE;
    }
    if (HIWORD(wParam) == 0 && id == IDCANCEL) {
        if (baseEditFocused && m_baseEdit.SendMessage(EM_CANUNDO) != 0) {
            UndoBaseEdit();
            return TRUE;
        }
        m_grid.HideTitleTip();
        return FALSE;
    }
    if (HIWORD(wParam) <= 1 && lParam == 0 && HandleAccelerator(id)) {
        return TRUE;
    }
    return CScrollPage::OnCommand(wParam, lParam);
}

INT_PTR CConfigDynamic::RunDialog(CDialog& dialog) {
    return m_dialogRunner ? m_dialogRunner(dialog) : dialog.DoModal();
}

void CConfigDynamic::OnCalibrationSettings() {
    CCalibSettingsDlg dialog(this);
    dialog.SetCore(&m_pointCore);
    dialog.SetResourceManager(m_resources);
    RunDialog(dialog);
}

// ---- Cell calibration ----------------------------------------------------------------------------

int CConfigDynamic::ChooseCalibrationMode() {
    if (!m_extended) {
        return CMapEditor::kModePoints;
    }
    if (m_modeChooser) {
        return m_modeChooser();
    }
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_OWNERDRAW, CMapEditor::kModePoints, reinterpret_cast<LPCSTR>(kByInjectionText));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_OWNERDRAW, CMapEditor::kModeContinuous, reinterpret_cast<LPCSTR>(kAutomaticText));
    RECT button = {};
    m_calCell.GetWindowRect(&button);
    return static_cast<int>(TrackPopupMenu(menu.GetSafeHmenu(),
                                           TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN, button.right,
                                           button.top, 0, GetSafeHwnd(), nullptr));
}

INT_PTR CConfigDynamic::RunCalibrationDialog(int mode) {
    const bool longTrim = (m_obdOptions & kObdLongTrimOffBit) == 0;
    const auto setUp = [&](CCalibratorDlgBase& dialog) {
        dialog.SetConfigDynamic(&m_editor);
        dialog.SetDataHandler(m_dataHandler);
        dialog.SetResourceManager(m_resources);
        dialog.SetFontCache(m_fonts);
        dialog.SetScale(m_scaleX, m_scaleY);
    };
    const auto run = [&](CCalibratorDlgBase& dialog) {
        m_activeDialog = &dialog;
        const INT_PTR result = RunDialog(dialog);
        m_activeDialog = nullptr;
        return result;
    };
    if (mode == CMapEditor::kModeContinuous) {
        CalibratorContDlg dialog(this);
        setUp(dialog);
        m_continuousCore.SetUseLongTrim(longTrim ? 1 : 0);
        dialog.SetCore(&m_continuousCore);
        dialog.SetFilterValue(m_minimumInjectionUs);
        return run(dialog);
    }
    if (mode == CMapEditor::kModeAdaptive) {
        CalibratorAdapDlg dialog(this);
        setUp(dialog);
        m_adaptiveCore.SetUseLongTrim(longTrim ? 1 : 0);
        dialog.SetCore(&m_adaptiveCore);
        dialog.SetFilterValue(m_minimumInjectionUs);
        return run(dialog);
    }
    CalibratorPts dialog(this);
    setUp(dialog);
    dialog.SetCore(&m_pointCore);
    dialog.SetFilterValue(m_minimumInjectionUs);
    dialog.SetExtendedMode(m_extended ? 1 : 0);
    return run(dialog);
}

// An empty map (before element 8 arrived) has nothing to calibrate.
void CConfigDynamic::OnCalCell() {
    if (m_dataHandler == nullptr || m_editor.GetMap().IsEmpty() || m_activeDialog != nullptr) {
        return;
    }
    const int mode = ChooseCalibrationMode();
    if (mode != CMapEditor::kModePoints && mode != CMapEditor::kModeAdaptive &&
        mode != CMapEditor::kModeContinuous) {
        return;
    }
    m_editor.BeginCalibration(mode, m_extended, ReadByte(kStatusElement));
    const INT_PTR result = RunCalibrationDialog(mode);
    m_editor.EndCalibration(mode, static_cast<int>(result));
    ShowMeasurementCoverage();
}

void CConfigDynamic::OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem) {
    if (measureItem->CtlType != ODT_MENU) {
        CScrollPage::OnMeasureItem(id, measureItem);
        return;
    }
    measureItem->itemWidth = m_popupWidth;
    measureItem->itemHeight = m_popupHeight;
}

void CConfigDynamic::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    if (drawItem->CtlType != ODT_MENU) {
        CScrollPage::OnDrawItem(id, drawItem);
        return;
    }
    const bool selected = (drawItem->itemState & ODS_SELECTED) != 0;
    HDC dc = drawItem->hDC;
    FillRect(dc, &drawItem->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const CString text = LoadText(static_cast<UINT>(drawItem->itemData));
    RECT textRect = drawItem->rcItem;
    textRect.left += 4;
    textRect.top += 2;
    CFont* font = m_fonts != nullptr ? m_fonts->GetFont(&m_popupFont) : nullptr;
    const HGDIOBJ old =
        SelectObject(dc, font != nullptr ? font->GetSafeHandle() : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(selected ? COLOR_CAPTIONTEXT : COLOR_MENUTEXT));
    DrawTextA(dc, text, text.GetLength(), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
}

// ---- Measurement commands ------------------------------------------------------------------------

CMapMeasurement* CConfigDynamic::SelectedMeasurement() {
    const CMapMeasurement* selected = m_grid.GetSelectedMeasurement();
    for (const auto& measurement : m_editor.GetMeasurements().GetMeasurements()) {
        if (measurement.get() == selected) {
            return measurement.get();
        }
    }
    return nullptr;
}

void CConfigDynamic::AfterMeasurementsChanged() {
    ShowMeasurementCoverage();
    m_editor.GetMeasurements().RefreshMeasurementMarks();
    if (m_dataHandler != nullptr) {
        m_dataHandler->SetModified();
    }
}

bool CConfigDynamic::RunMeasurementDialog(int rpm,
                                          double injectionMs,
                                          int percent,
                                          int& result,
                                          CMeasurementEditDlg& dialog) {
    const CCorrectionMap& map = m_editor.GetMap();
    if (map.IsEmpty()) {
        return false;
    }
    dialog.SetResourceManager(m_resources);
    dialog.SetRev(rpm, map.GetRpm(0), map.GetRpm(map.GetColumnCount() - 1));
    dialog.SetInjection(injectionMs, map.GetTimeUs(0) * 0.001, map.GetTimeUs(map.GetRowCount() - 1) * 0.001);
    dialog.SetMeasurement(percent, -kMeasurementLimit, kMeasurementLimit);
    result = static_cast<int>(RunDialog(dialog));
    return result == IDOK || result == CMeasurementEditDlg::kResultTotalize;
}

void CConfigDynamic::OnNewMeasurement() {
    CMeasurementEditDlg dialog(this);
    int result = 0;
    if (!RunMeasurementDialog(m_grid.GetNewRpm(), m_grid.GetNewInjectionMs(),
                              m_grid.GetNewPercent() + m_editor.GetBasePercent(), result, dialog)) {
        return;
    }
    CMeasurementList& measurements = m_editor.GetMeasurements();
    measurements.AddMeasurement(dialog.GetRev(), dialog.GetInjection(), dialog.GetMeasurement(),
                                kMeasurementKindUser);
    measurements.ConfirmNewMeasurements(false);
    AfterMeasurementsChanged();
    if (result == CMeasurementEditDlg::kResultTotalize) {
        OnTotalize();
    }
}

void CConfigDynamic::OnEditMeasurement() {
    CMapMeasurement* measurement = SelectedMeasurement();
    if (measurement == nullptr) {
        return;
    }
    CMeasurementList& measurements = m_editor.GetMeasurements();
    const unsigned generation = measurements.GetGeneration();
    CMeasurementEditDlg dialog(this);
    int result = 0;
    if (!RunMeasurementDialog(measurement->rpm, measurement->injectionMs, measurement->percent, result,
                              dialog)) {
        return;
    }
    // The page still takes the data handler's notices while the dialog is open: a map that
    // arrived meanwhile replaced the measurements, and the one edited is gone.
    if (measurements.GetGeneration() != generation) {
        CLogger::Instance().Log(
            2000, "CConfigDynamic::OnEditMeasurement(): the measurement went while it was edited.");
        return;
    }
    measurements.ChangeMeasurement(measurement, dialog.GetRev(), dialog.GetInjection(),
                                   dialog.GetMeasurement());
    AfterMeasurementsChanged();
    if (result == CMeasurementEditDlg::kResultTotalize) {
        OnTotalize();
    }
}

void CConfigDynamic::OnDeleteMeasurement() {
    const CMapMeasurement* measurement = SelectedMeasurement();
    if (measurement == nullptr) {
        return;
    }
    m_grid.ClearMarks();
    m_editor.GetMeasurements().RemoveMeasurement(measurement);
    AfterMeasurementsChanged();
}

void CConfigDynamic::OnShowMeasurements() {
    m_grid.ToggleShowMeasurements();
}

void CConfigDynamic::OnShowSummary() {
    m_grid.ToggleShowSummary();
}

void CConfigDynamic::OnDeleteAllMeasurements() {
    if (AfxMessageBox(LoadText(kDeleteAllQuestionText), MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL) {
        return;
    }
    CMeasurementList& measurements = m_editor.GetMeasurements();
    m_grid.ClearMarks();
    if (measurements.DeleteAllMeasurements() && m_dataHandler != nullptr) {
        m_dataHandler->SetModified();
    }
    measurements.ClearUndoneMeasurements();
    ShowMeasurementCoverage();
    measurements.RefreshMeasurementMarks();
}

void CConfigDynamic::OnTotalize() {
    m_editor.Totalize();
}
