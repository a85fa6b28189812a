#include "diag/CEventActionsPage.h"

#include "classlib/win/AfxMsgMap.h"
#include "diag/ListTableStyle.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCellCombo.h"
#include "grid/GridDefs.h"
#include "grid/GridRecords.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

#include <algorithm>
#include <commctrl.h>

namespace {

constexpr int kSubscribedFlags = 1 | 2;
constexpr int kReasonLoadedWhole = 0x1;
constexpr int kColumns = 3;
constexpr int kFontTenths = 75;
constexpr UINT kHeaderTexts[kColumns] = {15253, 15254, 15222};  // "%c # %c", "%c Event %c", "%c Action %c"

}  // namespace

BEGIN_MESSAGE_MAP(CEventActionsPage, CDialog)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_NOTIFY(GRIDN_CLICK, CEventActionsPage::kGridId, OnGridClick)
    ON_NOTIFY(GRIDN_ENDEDIT, CEventActionsPage::kGridId, OnGridEndEdit)
END_MESSAGE_MAP()

CEventActionsPage::CEventActionsPage(CWnd* parent)
    : CDialog(kTemplateId, parent), m_editable(CEventActionsTable::kRowCount, false) {}

CEventActionsPage::~CEventActionsPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    for (const int element : CEventActionsTable::Elements()) {
        m_dataHandler->Unsubscribe(this, element, kSubscribedFlags);
    }
}

void CEventActionsPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

BOOL CEventActionsPage::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadTexts();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        for (const int element : CEventActionsTable::Elements()) {
            m_dataHandler->Subscribe(this, element, kSubscribedFlags);
        }
    }
    Layout();
    return TRUE;
}

void CEventActionsPage::Layout() {
    if (m_tabCtrl != nullptr && m_tabCtrl->GetSafeHwnd() != nullptr && GetParent() != nullptr) {
        RECT area = {};
        GetParent()->GetClientRect(&area);
        m_tabCtrl->SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        MoveWindow(area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
    RECT client = {};
    GetClientRect(&client);
    if (!m_grid.Create(client, this, kGridId)) {
        CLogger::Instance().Log(3000, "CEventActionsPage: the grid could not be created.");
        return;
    }
    SetUpGrid();
    FillGrid();
}

void CEventActionsPage::SetUpGrid() {
    m_grid.SetRowCount(CEventActionsTable::kRowCount + 1);
    m_grid.SetColumnCount(kColumns);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(0);
    m_grid.SetListMode(FALSE);
    m_grid.SetGridLines(GRID_LINES_BOTH);
    m_grid.EnableSelection(FALSE);
    m_grid.SetSortCompareFunction(nullptr);
    RECT area = {};
    m_grid.GetClientRect(&area);
    const int width = area.right - area.left;
    m_grid.SetColumnWidth(0, width / 20);
    m_grid.SetColumnWidth(1, 12 * width / 20);
    m_grid.SetColumnWidth(2, width - width / 20 - 12 * width / 20);

    const LOGFONTA font = MakeScaledLogFont(this, "Arial", kFontTenths, FW_NORMAL, 1.0, 1.0, ANSI_CHARSET);
    for (const BOOL fixed : {TRUE, FALSE}) {
        CGridCellBase* cell = m_grid.GetDefaultCell(fixed, FALSE);
        if (cell != nullptr) {
            cell->SetFont(&font);
        }
    }
    for (int row = 1; row <= CEventActionsTable::kRowCount; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            m_grid.SetCellState(row, col, GRID_STATE_READONLY);
        }
    }
}

void CEventActionsPage::FillGrid() {
    WriteSortedHeader(m_grid, m_resources, kHeaderTexts, kColumns, m_table.GetSortKey());
    m_shown = m_table.Order();
    for (int i = 0; i < CEventActionsTable::kRowCount; ++i) {
        const int gridRow = i + 1;
        const int tableRow = m_shown[i];
        m_grid.SetCellTextFormat(gridRow, 0, "%d.", tableRow + 1);
        m_grid.SetCellText(gridRow, 1, m_table.GetRow(tableRow).name);
        m_grid.ChangeCellType(gridRow, kActionColumn, RUNTIME_CLASS(CGridCellCombo));
        auto* combo = static_cast<CGridCellCombo*>(m_grid.GetCell(gridRow, kActionColumn));
        if (combo != nullptr) {
            combo->SetOptions(m_table.ActionTexts());
            combo->SetStyle(CBS_DROPDOWNLIST);
        }
        m_grid.SetCellText(gridRow, kActionColumn, m_table.ActionText(m_table.GetRow(tableRow).action));
        m_grid.SetCellFormat(gridRow, kActionColumn, kCentredCellFormat);
        UINT state = m_grid.GetCellState(gridRow, kActionColumn);
        state = m_editable[tableRow] ? (state & ~GRID_STATE_READONLY) : (state | GRID_STATE_READONLY);
        m_grid.SetCellState(gridRow, kActionColumn, state);
    }
    m_grid.Refresh();
}

void CEventActionsPage::LoadTexts() {
    m_table.LoadTexts([this](UINT id) { return LoadText(m_resources, id); });
}

int CEventActionsPage::GridRowOf(int tableRow) const {
    for (std::size_t i = 0; i < m_shown.size(); ++i) {
        if (m_shown[i] == tableRow) {
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

void CEventActionsPage::ShowAction(int tableRow) {
    const int gridRow = GridRowOf(tableRow);
    if (gridRow < 0) {
        return;
    }
    m_grid.SetCellText(gridRow, kActionColumn, m_table.ActionText(m_table.GetRow(tableRow).action));
    m_grid.RedrawCell(gridRow, kActionColumn);
}

LRESULT CEventActionsPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int tableRow = m_table.FindRow(LOWORD(lParam));
    if (tableRow < 0 || m_dataHandler == nullptr) {
        return 0;
    }
    const int gridRow = GridRowOf(tableRow);
    if (HIWORD(lParam) == kReasonLoadedWhole && gridRow > 0) {
        m_editable[tableRow] = true;
        m_grid.SetCellState(gridRow, kActionColumn,
                            m_grid.GetCellState(gridRow, kActionColumn) & ~GRID_STATE_READONLY);
    }
    BYTE action = 0;
    m_dataHandler->ReadData(m_table.GetRow(tableRow).element, &action);
    m_table.SetAction(tableRow, action);
    ShowAction(tableRow);
    return 0;
}

void CEventActionsPage::OnGridEndEdit(NMHDR* header, LRESULT* result) {
    const auto* record = reinterpret_cast<const GridNotifyRecord*>(header);
    // The grid's own text change is refused; the cell follows the element's change notice.
    *result = -1;
    if (record->col != kActionColumn || record->row < 1 || record->row > CEventActionsTable::kRowCount) {
        return;
    }
    const int tableRow = m_shown[record->row - 1];
    const CString chosen = m_grid.GetCellText(record->row, record->col);
    if (chosen == m_table.ActionText(m_table.GetRow(tableRow).action)) {
        return;
    }
    // A deleted or pasted text that names no action changes nothing.
    const std::vector<CString> actions = m_table.ActionTexts();
    if (std::find(actions.begin(), actions.end(), chosen) == actions.end()) {
        return;
    }
    const BYTE action = m_table.ActionOfText(chosen);
    m_table.SetAction(tableRow, action);
    if (m_dataHandler != nullptr) {
        m_dataHandler->WriteData(m_table.GetRow(tableRow).element, &action);
    }
}

void CEventActionsPage::OnGridClick(NMHDR* header, LRESULT* result) {
    const auto* record = reinterpret_cast<const GridNotifyRecord*>(header);
    *result = 0;
    if (record->row != 0 || record->col < 0 || record->col >= kColumns) {
        return;
    }
    m_table.ClickHeader(record->col);
    FillGrid();
}

LRESULT CEventActionsPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    LoadTexts();
    FillGrid();
    return 0;
}

LRESULT CEventActionsPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

BOOL CEventActionsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
