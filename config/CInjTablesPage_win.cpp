#include "config/CInjTablesPage.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "config/FitGridColumns.h"
#include "config/TablesIds.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "grid/CGridCellBase.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ElementTable.h"
#include "link/ITextResources.h"
#include "link/NumberChecks.h"
#include "link/ReadElementBytes.h"
#include "shell/CTransferProgressDlg.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15037;      // "Element out of range: %d."

constexpr int kPresentElement = 79;
constexpr int kReasonLoadedWhole = 0x1;
constexpr int kBytesPerStep = 18;

constexpr COLORREF kCornerBack = RGB(208, 208, 208);
constexpr UINT kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

}  // namespace

BEGIN_MESSAGE_MAP(CInjTablesPage, CScrollPage)
    ON_NOTIFY(GRIDN_ENDEDIT, IDC_INJ_GRID, OnGridEndEdit)
    ON_CBN_SELENDOK(IDC_INJ_TABLE, OnTableSelected)
    ON_BN_CLICKED(IDC_INJ_READ, OnRead)
    ON_BN_CLICKED(IDC_INJ_WRITE, OnWrite)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CInjTablesPage::CInjTablesPage(CWnd* parent)
    : CScrollPage(kTemplateId, parent),
      m_transferRunner([](CTransferProgressDlg& dialog) { dialog.DoModal(); }) {}

CInjTablesPage::~CInjTablesPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    m_dataHandler->Unsubscribe(this, kPresentElement, 1);
}

void CInjTablesPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CInjTablesPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_INJ_TABLE, m_tableList);
    DDX_Control(exchange, IDC_INJ_READ, m_readButton);
    DDX_Control(exchange, IDC_INJ_WRITE, m_writeButton);
}

BOOL CInjTablesPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    m_tables = CInjectionTableSet();
    Layout();
    UpdateTexts();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kPresentElement, 1);
    }
    m_grid.SetDataHandler(m_dataHandler);
    m_grid.SetResourceManager(m_resources);
    m_grid.InitMarker();
    m_grid.SetPasteHandler([this] { UpdateTableFromGrid(); });
    FillGrid();
    return TRUE;
}

void CInjTablesPage::Layout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    RECT client = {};
    GetClientRect(&client);
    const int margin = ScaledLength(4, sx);
    const int sideWidth = ScaledLength(110, sx);
    const int sideX = client.right - margin - sideWidth;
    const int rowHeight = ScaledLength(22, sy);
    const RECT gridRect = {margin, margin, sideX - margin, client.bottom - margin};
    if (m_grid.GetSafeHwnd() == nullptr && !m_grid.Create(gridRect, this, IDC_INJ_GRID)) {
        CLogger::Instance().Log(3000, "CInjTablesPage::Layout(): the grid was not created.");
    }
    m_tableList.MoveWindow(sideX, margin, sideWidth, ScaledLength(120, sy), FALSE);
    m_readButton.MoveWindow(sideX, margin + rowHeight + ScaledLength(8, sy), sideWidth, rowHeight, FALSE);
    m_writeButton.MoveWindow(sideX, margin + 2 * (rowHeight + ScaledLength(8, sy)), sideWidth, rowHeight,
                             FALSE);
    SetFonts();
    SetContentHeight(0);
    Invalidate(TRUE);
}

void CInjTablesPage::SetFonts() {
    const LOGFONTA cellFont = MakeScaledLogFont(this, "Arial", 75, FW_NORMAL, m_scaleX, m_scaleY);
    const LOGFONTA headerFont = MakeScaledLogFont(this, "Arial", 75, FW_BOLD, m_scaleX, m_scaleY);
    if (m_grid.GetSafeHwnd() != nullptr) {
        for (const BOOL fixedRow : {FALSE, TRUE}) {
            for (const BOOL fixedColumn : {FALSE, TRUE}) {
                CGridCellBase* cell = m_grid.GetDefaultCell(fixedRow, fixedColumn);
                cell->SetFont(fixedRow || fixedColumn ? &headerFont : &cellFont);
                cell->SetMargin(0);
                cell->SetFormat(kCellFormat);
            }
        }
    }
    if (m_fonts == nullptr) {
        return;
    }
    CFont* font = GetCachedFont(m_fonts, this, "Verdana", 80, m_scaleX, m_scaleY, FW_NORMAL);
    if (font == nullptr) {
        CLogger::Instance().Log(3000, "CInjTablesPage::SetFonts(): no Verdana font.");
        return;
    }
    for (CWnd* control : std::initializer_list<CWnd*>{&m_tableList, &m_readButton, &m_writeButton}) {
        control->SetFont(*font);
    }
}

void CInjTablesPage::UpdateTexts() {
    m_tableList.ResetContent();
    for (int table = 0; table < CInjectionTableSet::kTableCount; ++table) {
        const int index = m_tableList.AddString(CInjectionTableSet::Name(table));
        m_tableList.SetItemData(index, static_cast<DWORD_PTR>(table));
    }
    m_tableList.SetCurSel(m_tables.GetSelected());
    // The button captions are fixed; they are not in the string table.
    m_readButton.SetWindowText("Lesen");
    m_writeButton.SetWindowText("Schreiben");
}

LRESULT CInjTablesPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    // The time axis follows the language's decimal separator.
    FillGrid();
    return 0;
}

LRESULT CInjTablesPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

void CInjTablesPage::FillGrid() {
    if (m_grid.GetSafeHwnd() == nullptr) {
        return;
    }
    m_grid.SetRowCount(CInjectionTableSet::kRows + 1);
    m_grid.SetColumnCount(CInjectionTableSet::kColumns + 1);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetCellTextFormat(0, 0, "%%");
    m_grid.SetCellBackColour(0, 0, kCornerBack);
    for (int column = 0; column < CInjectionTableSet::kColumns; ++column) {
        m_grid.SetCellTextFormat(0, column + 1, "%d", CInjectionTableSet::Rpm(column));
    }
    for (int row = 0; row < CInjectionTableSet::kRows; ++row) {
        m_grid.SetCellTextFormat(row + 1, 0, "%.2f", CInjectionTableSet::TimeUs(row) * 0.001);
        for (int column = 0; column < CInjectionTableSet::kColumns; ++column) {
            m_grid.SetCellTextFormat(row + 1, column + 1, "%d", m_tables.GetCell(row, column));
        }
    }
    m_grid.SetAxes(CInjectionTableSet::kColumns, CInjectionTableSet::RpmAxis(), CInjectionTableSet::kRows,
                   CInjectionTableSet::TimeAxis());
    m_grid.SetListMode(FALSE);
    m_grid.ClearSelection();
    m_grid.SetSortCompareFunction(nullptr);
    FitGridColumns(m_grid);
    m_grid.Invalidate();
}

// ---- Editing ----------------------------------------------------------------------------------

bool CInjTablesPage::CheckCellText(const CString& text, int& value) {
    const DWORD language = m_resources != nullptr ? m_resources->GetLanguageId() : 0;
    CString message;
    if (!IsValidNumberText(language, text)) {
        message = FormatText(LoadText(m_resources, kInvalidElementText), static_cast<LPCSTR>(text));
    } else {
        const long number = std::strtol(text, nullptr, 10);
        if (number >= CInjectionTableSet::kLowest && number <= CInjectionTableSet::kHighest) {
            value = static_cast<int>(number);
            return true;
        }
        message = FormatText(LoadText(m_resources, kOutOfRangeText), static_cast<int>(number));
    }
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CInjTablesPage::StoreCell(int gridRow, int gridColumn, int value) {
    if (m_tables.SetCell(gridRow - 1, gridColumn - 1, value)) {
        m_grid.SetCellTextFormat(gridRow, gridColumn, "%d", value);
    }
}

void CInjTablesPage::OnGridEndEdit(NMHDR* header, LRESULT* result) {
    const auto* record = reinterpret_cast<const GridNotifyRecord*>(header);
    *result = -1;
    int value = 0;
    if (!CheckCellText(m_grid.GetCellText(record->row, record->col), value)) {
        return;
    }
    const GridCellRange selection = m_grid.GetSelectionBounds();
    if (m_grid.IsValidRange(selection)) {
        for (int row = selection.minRow; row <= selection.maxRow; ++row) {
            for (int column = selection.minCol; column <= selection.maxCol; ++column) {
                StoreCell(row, column, value);
            }
        }
    } else {
        StoreCell(record->row, record->col, value);
    }
    m_grid.Invalidate();
    *result = 0;
}

void CInjTablesPage::UpdateTableFromGrid() {
    const GridCellRange selection = m_grid.GetSelectionBounds();
    if (!m_grid.IsValidRange(selection)) {
        return;
    }
    for (int row = selection.minRow; row <= selection.maxRow; ++row) {
        for (int column = selection.minCol; column <= selection.maxCol; ++column) {
            const long number = std::strtol(m_grid.GetCellText(row, column), nullptr, 10);
            StoreCell(row, column, static_cast<int>(number));
        }
    }
    m_grid.Invalidate();
}

// ---- Tables and transfers ------------------------------------------------------------------

void CInjTablesPage::OnTableSelected() {
    const int selection = m_tableList.GetCurSel();
    if (selection < 0) {
        return;
    }
    const int table = static_cast<int>(m_tableList.GetItemData(selection));
    if (table == m_tables.GetSelected()) {
        return;
    }
    m_tables.Select(table);
    FillGrid();
}

void CInjTablesPage::Transfer(bool reading) {
    CTransferProgressDlg dialog(this);
    LendServices(dialog);
    if (dialog.SetTransfer(reading, static_cast<BYTE>(m_tables.SelectedBlock()), m_tables.SelectedBuffer(),
                           CInjectionTableSet::kBytes, kBytesPerStep)) {
        m_transferRunner(dialog);
    }
    FillGrid();
}

void CInjTablesPage::OnRead() {
    Transfer(true);
}

void CInjTablesPage::OnWrite() {
    Transfer(false);
}

LRESULT CInjTablesPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int element = LOWORD(lParam);
    const int reason = HIWORD(lParam);
    if (m_dataHandler == nullptr || element != kPresentElement || reason != kReasonLoadedWhole) {
        return 0;
    }
    const std::vector<BYTE> bytes = ReadElementBytes(*m_dataHandler, element, 1);
    const BOOL present = bytes[0] != 0 ? TRUE : FALSE;
    if (!present) {
        m_grid.SetRowCount(0);
        m_grid.SetColumnCount(0);
        m_grid.Invalidate();
        CWnd* focus = GetFocus();
        if (focus != nullptr && focus->GetParent() == this) {
            SendMessage(WM_NEXTDLGCTL, 0, FALSE);
        }
    }
    m_tableList.EnableWindow(present);
    m_readButton.EnableWindow(present);
    m_writeButton.EnableWindow(present);
    m_grid.EnableMarker(present);
    return 0;
}

LRESULT CInjTablesPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    const int status = static_cast<int>(wParam);
    if (!IsLinkUp(status)) {
        m_readButton.EnableWindow(FALSE);
        m_writeButton.EnableWindow(FALSE);
    }
    return 0;
}
