#include "config/CAdaptTablesPage.h"

#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "config/CMapPageFrame.h"
#include "config/FitGridColumns.h"
#include "config/IAdaptiveMapSource.h"
#include "config/TablesIds.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCellTwin.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"
#include "link/DataHandlerMessages.h"
#include "link/ElementTable.h"
#include "link/ITextResources.h"
#include "link/ReadElementBytes.h"

#include <algorithm>

namespace {

constexpr int kPresentElement = 79;
constexpr int kTableElements[4] = {80, 82, 84, 86};
constexpr int kRowElements[4] = {81, 83, 85, 87};
constexpr int kClearElement = 96;
constexpr int kCrankElement = 6;
constexpr int kMinInjectionElement = 50;

constexpr int kReasonLoadedWhole = 0x1;
constexpr int kReasonTransferDone = 0x4;

// Request kinds: 1 and 2 read rows of tables A and B, 3 and 4 of tables C and D.
constexpr int kKindLongA = 1;
constexpr int kKindLongB = 2;
constexpr int kKindWarmUpC = 3;
constexpr int kKindWarmUpD = 4;

constexpr COLORREF kEvenLeft = RGB(223, 223, 192);
constexpr COLORREF kEvenRight = RGB(192, 223, 195);
constexpr COLORREF kOddLeft = RGB(239, 239, 208);
constexpr COLORREF kOddRight = RGB(208, 239, 209);
constexpr COLORREF kHeaderBack = RGB(208, 208, 208);
constexpr UINT kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The warm-up block: temperatures of its ten columns and the offsets taken off the values.
constexpr int kWarmUpColumns = 10;
constexpr int kWarmUpTemperatures[kWarmUpColumns] = {127, 120, 80, 60, 40, 20, 10, 0, -20, -128};
constexpr int kWarmUpOffsets[kWarmUpColumns] = {100, 100, 100, 96, 90, 85, 80, 75, 75, 100};

COLORREF ClassColour(int cellClass) {
    switch (cellClass) {
    case -1:
        return RGB(64, 63, 192);
    case -2:
        return RGB(64, 63, 144);
    case 1:
        return RGB(192, 32, 32);
    case 2:
        return RGB(144, 32, 32);
    default:
        return RGB(0, 0, 0);
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CAdaptTablesPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_WM_SHOWWINDOW()
    ON_CBN_SELENDOK(IDC_ADAPT_VIEW, OnViewSelected)
    ON_BN_CLICKED(IDC_ADAPT_CLEAR, OnClearTables)
END_MESSAGE_MAP()

CAdaptTablesPage::CAdaptTablesPage(CWnd* parent) : CScrollPage(kTemplateId, parent), m_obdPanel(this) {}

CAdaptTablesPage::~CAdaptTablesPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    m_dataHandler->Unsubscribe(this, kPresentElement, 1);
    for (const int element : kRowElements) {
        m_dataHandler->Unsubscribe(this, element, 4);
    }
    m_dataHandler->Unsubscribe(this, kCrankElement, 1 | 2);
    m_dataHandler->Unsubscribe(this, kMinInjectionElement, 1 | 2);
}

void CAdaptTablesPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CAdaptTablesPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ADAPT_VIEW, m_viewList);
    DDX_Control(exchange, IDC_ADAPT_CLEAR, m_clearButton);
    m_live.DoDataExchange(exchange);
}

BOOL CAdaptTablesPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    m_view = kViewLong;
    m_present = false;
    m_visible = false;
    m_reading = false;
    ResetIndicators();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kPresentElement, 1);
        for (const int element : kRowElements) {
            m_dataHandler->Subscribe(this, element, 4);
        }
        m_dataHandler->Subscribe(this, kCrankElement, 1 | 2);
        m_dataHandler->Subscribe(this, kMinInjectionElement, 1 | 2);
    }
    Layout();
    UpdateTexts();
    m_grid.SetDataHandler(m_dataHandler);
    m_grid.SetResourceManager(m_resources);
    m_grid.InitMarker();
    return TRUE;
}

std::vector<BYTE> CAdaptTablesPage::ReadElement(int element) const {
    std::vector<BYTE> bytes = ReadElementBytes(*m_dataHandler, element, 2);
    bytes.resize(static_cast<std::size_t>(std::max(m_dataHandler->GetElementLength(element), 0)));
    return bytes;
}

// ---- Layout and texts ----------------------------------------------------------------------

void CAdaptTablesPage::Layout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    const CMapPageFrame frame(*this, sx, sy);
    const int margin = frame.Margin();
    const int rightX = frame.RightX();
    const int rowHeight = ScaledLength(22, sy);
    const int bottomTop = frame.Height() - margin - rowHeight;
    const RECT gridRect = frame.GridRect(bottomTop - ScaledLength(6, sy));

    frame.PlaceUnitLabels(IDC_ADAPT_TIME_UNIT, IDC_ADAPT_RPM_UNIT);
    if (m_grid.GetSafeHwnd() == nullptr && !m_grid.Create(gridRect, this, IDC_ADAPT_GRID)) {
        CLogger::Instance().Log(3000, "CAdaptTablesPage::Layout(): the grid was not created.");
    }
    m_viewList.MoveWindow(margin, bottomTop, ScaledLength(160, sx), ScaledLength(120, sy), FALSE);
    m_clearButton.MoveWindow(margin + ScaledLength(170, sx), bottomTop, ScaledLength(100, sx), rowHeight,
                             FALSE);

    const int y = m_live.Place(rightX, margin, frame.RightWidth(), sx, sy);

    LendServices(m_obdPanel);
    m_obdPanel.ShowAt(this, rightX, y, rightX + frame.RightWidth(), frame.Height() - margin);
    SetUpGrid();
    SetFonts();
    SetContentHeight(0);
    Invalidate(TRUE);
}

void CAdaptTablesPage::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    CFont* label = GetCachedFont(m_fonts, this, "Verdana", 79, m_scaleX, m_scaleY, FW_NORMAL);
    CFont* bar = GetCachedFont(m_fonts, this, "MS Shell Dlg", 80, m_scaleX, m_scaleY, FW_NORMAL);
    if (label == nullptr || bar == nullptr) {
        CLogger::Instance().Log(3000, "CAdaptTablesPage::SetFonts(): no font.");
        return;
    }
    for (const int id :
         {IDC_ADAPT_CORR_LABEL, IDC_ADAPT_RPM_UNIT, IDC_ADAPT_TIME_UNIT, IDC_ADAPT_VIEW, IDC_ADAPT_CLEAR}) {
        GetDlgItem(id)->SetFont(*label);
    }
    m_live.SetFonts(*m_fonts, this, m_scaleX, m_scaleY, *bar);
}

void CAdaptTablesPage::SetUpGrid() {
    if (m_grid.GetSafeHwnd() == nullptr) {
        return;
    }
    const LOGFONTA cellFont = MakeScaledLogFont(this, "Arial", 75, FW_BOLD, m_scaleX, m_scaleY, ANSI_CHARSET);
    for (const BOOL fixedRow : {FALSE, TRUE}) {
        for (const BOOL fixedColumn : {FALSE, TRUE}) {
            CGridCellBase* cell = m_grid.GetDefaultCell(fixedRow, fixedColumn);
            cell->SetFont(&cellFont);
            cell->SetMargin(0);
            cell->SetFormat(kCellFormat);
            if (fixedRow || fixedColumn) {
                cell->SetBackColour(kHeaderBack);
            }
        }
    }
    m_grid.SetEditable(FALSE);
}

void CAdaptTablesPage::UpdateTexts() {
    m_viewList.ResetContent();
    for (const UINT id : {IDS_ADAPT_LONG, IDS_ADAPT_LONG_SUMMARIZED, IDS_ADAPT_WARM_UP}) {
        const int index = m_viewList.AddString(LoadText(m_resources, id));
        m_viewList.SetItemData(index, static_cast<DWORD_PTR>(index));
    }
    m_viewList.SetCurSel(m_view);
    m_clearButton.SetWindowText(LoadText(m_resources, IDS_ADAPT_CLEAR));
    m_live.SetCorrectionLabel(LoadText(m_resources, IDS_ADAPT_GAS_CORRECTION));
    Invalidate(TRUE);
}

LRESULT CAdaptTablesPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    // The time axis follows the language's decimal separator.
    FillGrid();
    return 0;
}

void CAdaptTablesPage::ResetIndicators() {
    m_live.Reset();
}

// ---- Messages of the data handler ------------------------------------------------------------

LRESULT CAdaptTablesPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int element = LOWORD(lParam);
    const int reason = HIWORD(lParam);
    if (m_dataHandler == nullptr || element >= kElementCount) {
        return 0;
    }
    if (element == kPresentElement && reason == kReasonLoadedWhole) {
        OnTablesPresent();
    } else if (element == kCrankElement) {
        m_crankByte = ReadElement(element)[0];
    } else if (element == kMinInjectionElement) {
        const std::vector<BYTE> bytes = ReadElement(element);
        m_minInjection = bytes[0] | bytes[1] << 8;
    } else if (reason == kReasonTransferDone && std::find(std::begin(kRowElements), std::end(kRowElements),
                                                          element) != std::end(kRowElements)) {
        if (wParam == 0) {
            // The row read failed: the cycle ends, and showing the page starts it again.
            m_reading = false;
        } else {
            OnRowAnswer(element);
        }
    }
    return 0;
}

void CAdaptTablesPage::OnTablesPresent() {
    if (ReadElement(kPresentElement)[0] == 0) {
        EmptyGrid();
        CWnd* focus = GetFocus();
        if (focus != nullptr && (focus->GetSafeHwnd() == m_clearButton.GetSafeHwnd() ||
                                 focus->GetSafeHwnd() == m_viewList.GetSafeHwnd())) {
            SendMessage(WM_NEXTDLGCTL, 0, FALSE);
        }
        m_viewList.EnableWindow(FALSE);
        m_clearButton.EnableWindow(FALSE);
        m_present = false;
        m_grid.EnableMarker(FALSE);
        return;
    }
    m_viewList.EnableWindow(TRUE);
    m_clearButton.EnableWindow(TRUE);
    m_present = true;
    m_grid.EnableMarker(TRUE);
    for (std::size_t i = 0; i < m_tables.size(); ++i) {
        const std::vector<BYTE> bytes = ReadElement(kTableElements[i]);
        if (!m_tables[i].Decode(bytes.data(), bytes.size())) {
            CLogger::Instance().Log(3000, "CAdaptTablesPage: element %d holds no table.", kTableElements[i]);
        }
    }
    FillGrid();
    if (m_visible && !m_reading) {
        StartReading();
    }
}

LRESULT CAdaptTablesPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    const int status = static_cast<int>(wParam);
    if (IsLinkUp(status)) {
        return 0;
    }
    ResetIndicators();
    // The row read under way went with the link; the tables' return or showing the page
    // starts the cycle again.
    m_reading = false;
    CWnd* focus = GetFocus();
    if (focus != nullptr && focus->GetSafeHwnd() == m_clearButton.GetSafeHwnd()) {
        SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    }
    m_clearButton.EnableWindow(FALSE);
    return 0;
}

LRESULT CAdaptTablesPage::OnNewData(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    m_live.Show(*m_dataHandler);
    return 0;
}

void CAdaptTablesPage::OnShowWindow(BOOL show, UINT status) {
    CScrollPage::OnShowWindow(show, status);
    m_visible = show != FALSE;
    // A reply still pending from before the page was hidden carries the cycle on by itself.
    if (m_visible && m_present && !m_reading) {
        StartReading();
    }
}

// ---- The reading cycle -------------------------------------------------------------------------

void CAdaptTablesPage::StartReading() {
    m_reading = true;
    m_readingView = m_view;
    const bool warmUp = m_view == kViewWarmUp;
    m_request.kind = warmUp ? kKindWarmUpC : kKindLongA;
    m_request.row = 0;
    m_request.count = m_tables[warmUp ? 2 : 0].GetColumnCount();
    SendRequest();
}

void CAdaptTablesPage::SendRequest() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_requestBytes[0] = static_cast<BYTE>(m_request.kind);
    m_requestBytes[1] = static_cast<BYTE>(m_request.row);
    m_requestBytes[2] = static_cast<BYTE>(m_request.count);
    if (!CDataHandler::IsQueued(
            m_dataHandler->RequestRead(kRowElements[m_request.kind - 1], m_requestBytes))) {
        m_reading = false;
    }
}

void CAdaptTablesPage::NextRequest() {
    switch (m_request.kind) {
    case kKindLongA:
        m_request.kind = kKindLongB;
        break;
    case kKindLongB: {
        m_request.kind = kKindLongA;
        const int rows = m_tables[0].GetRowCount();
        m_request.row = rows > 0 ? (m_request.row + 1) % rows : 0;
        break;
    }
    case kKindWarmUpC:
        m_request.kind = kKindWarmUpD;
        break;
    default:
        m_request.kind = kKindWarmUpC;
        break;
    }
    SendRequest();
}

// The answer's byte 0 names the row it carries, counted from 0 as the requests count; the
// row is stored and shown under that one number.
void CAdaptTablesPage::OnRowAnswer(int element) {
    const int tableIndex = static_cast<int>(
        std::find(std::begin(kRowElements), std::end(kRowElements), element) - std::begin(kRowElements));
    CAdaptiveTable& table = m_tables[static_cast<std::size_t>(tableIndex)];
    const std::vector<BYTE> answer = ReadElement(element);
    const int row = table.StoreRowAnswer(answer.data(), answer.size());
    if (row >= 0) {
        const int tableElement = kTableElements[tableIndex];
        std::vector<BYTE> encoded(static_cast<std::size_t>(m_dataHandler->GetElementLength(tableElement)), 0);
        if (table.Encode(encoded.data(), encoded.size()) > 0) {
            m_dataHandler->WriteDataLocal(tableElement, encoded.data());
        }
        if (m_readingView == m_view) {
            RefreshRow(tableIndex, row);
        }
    }
    if (!m_reading) {
        return;
    }
    if (!m_visible) {
        m_reading = false;
        return;
    }
    NextRequest();
    m_grid.Invalidate();
}

void CAdaptTablesPage::RefreshRow(int tableIndex, int row) {
    const bool warmUpTable = tableIndex >= 2;
    if (warmUpTable != (m_view == kViewWarmUp) || m_grid.GetSafeHwnd() == nullptr) {
        return;
    }
    if (warmUpTable) {
        FillWarmUpBlock();
        return;
    }
    if (row + 1 < m_grid.GetRowCount()) {
        FillTwinRow(row);
        // Values that arrive may need more room than those shown before.
        FitGridColumns(m_grid);
    }
}

// ---- The grid -----------------------------------------------------------------------------------

void CAdaptTablesPage::EmptyGrid() {
    if (m_grid.GetSafeHwnd() == nullptr) {
        return;
    }
    m_grid.SetRowCount(0);
    m_grid.SetColumnCount(0);
    m_grid.Invalidate();
}

void CAdaptTablesPage::FillGrid() {
    if (m_grid.GetSafeHwnd() == nullptr) {
        return;
    }
    const CAdaptiveTable& base = m_tables[m_view == kViewWarmUp ? 2 : 0];
    EmptyGrid();
    if (base.IsEmpty()) {
        return;
    }
    const int rows = base.GetRowCount();
    const int columns = base.GetColumnCount();
    m_grid.SetRowCount(rows + 1);
    m_grid.SetColumnCount(columns + 1);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetCellTextFormat(0, 0, "%%");
    for (int column = 0; column < columns; ++column) {
        m_grid.SetCellTextFormat(0, column + 1, "%d", base.GetRpm(column));
    }
    for (int row = 0; row < rows; ++row) {
        m_grid.SetCellTextFormat(row + 1, 0, "%.2f", base.GetTimeUs(row) * 0.001);
    }
    m_grid.SetAxes(columns, base.GetRpmAxis().data(), rows, base.GetTimeAxis().data());
    if (m_view == kViewWarmUp) {
        FillWarmUpBlock();
    } else {
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                m_grid.ChangeCellType(row + 1, column + 1, RUNTIME_CLASS(CGridCellTwin));
            }
            FillTwinRow(row);
        }
    }
    m_grid.SetListMode(FALSE);
    m_grid.ClearSelection();
    m_grid.SetSortCompareFunction(nullptr);
    FitGridColumns(m_grid);
    m_grid.Invalidate();
}

void CAdaptTablesPage::FillTwinRow(int row) {
    const CAdaptiveTable& first = m_tables[0];
    const CAdaptiveTable& second = m_tables[1];
    const bool summarized = m_view == kViewSummarized;
    const bool even = row % 2 == 0;
    for (int column = 0; column < first.GetColumnCount(); ++column) {
        auto* cell = dynamic_cast<CGridCellTwin*>(m_grid.GetCell(row + 1, column + 1));
        if (cell == nullptr) {
            continue;
        }
        const int mapPart =
            m_map != nullptr ? m_map->GetMapCell(row, column) + m_map->GetMapBasePercent() : 0;
        const bool inSecond = row < second.GetRowCount() && column < second.GetColumnCount();
        const int values[2] = {first.GetCell(row, column), inSecond ? second.GetCell(row, column) : 0};
        COLORREF colours[2] = {};
        CString texts[2];
        for (int half = 0; half < 2; ++half) {
            const int total = mapPart + values[half];
            texts[half].Format("%d", summarized ? total : values[half]);
            colours[half] = ClassColour(ClassifyRevInjection(first.GetRpm(column), first.GetTimeUs(row),
                                                             total, m_crankByte * 10, m_minInjection));
        }
        cell->SetFirstText(texts[0]);
        cell->SetSecondText(texts[1]);
        cell->SetFirstTextColour(colours[0]);
        cell->SetSecondTextColour(colours[1]);
        cell->SetFirstBackColour(even ? kEvenLeft : kOddLeft);
        cell->SetSecondBackColour(even ? kEvenRight : kOddRight);
        m_grid.RedrawCell(row + 1, column + 1);
    }
}

int CAdaptTablesPage::WarmUpTop() const {
    return (m_tables[2].GetRowCount() - 1) / 2 + 1;
}

int CAdaptTablesPage::WarmUpLeft() const {
    return (m_tables[2].GetColumnCount() - 9) / 2;
}

void CAdaptTablesPage::FillWarmUpBlock() {
    const int top = WarmUpTop();
    const int left = WarmUpLeft();
    // The block needs three rows and eleven columns of the grid.
    if (left < 0 || left + kWarmUpColumns >= m_grid.GetColumnCount() || top + 2 >= m_grid.GetRowCount()) {
        return;
    }
    m_grid.SetCellText(top, left,
                       "\xB0"
                       "C");
    m_grid.SetCellText(top + 1, left, "%");
    m_grid.SetCellText(top + 2, left, "%");
    const CAdaptiveTable* tables[2] = {&m_tables[2], &m_tables[3]};
    for (int i = 0; i < kWarmUpColumns; ++i) {
        m_grid.SetCellTextFormat(top, left + 1 + i, "%d", kWarmUpTemperatures[i]);
        for (int t = 0; t < 2; ++t) {
            const CAdaptiveTable& table = *tables[t];
            if (table.GetRowCount() > 0 && i < table.GetColumnCount()) {
                m_grid.SetCellTextFormat(top + 1 + t, left + 1 + i, "%d",
                                         table.GetCell(0, i) - kWarmUpOffsets[i]);
            }
        }
    }
    m_grid.Invalidate();
}

// ---- Commands -------------------------------------------------------------------------------------

void CAdaptTablesPage::OnViewSelected() {
    const int selection = m_viewList.GetCurSel();
    if (selection < 0) {
        return;
    }
    const int view = static_cast<int>(m_viewList.GetItemData(selection));
    if (view == m_view) {
        return;
    }
    m_view = view;
    FillGrid();
}

void CAdaptTablesPage::OnClearTables() {
    if (AfxMessageBox(LoadText(m_resources, IDS_ADAPT_CLEAR_QUESTION), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    if (m_dataHandler != nullptr) {
        m_dataHandler->WriteData(kClearElement, nullptr);
    }
}
