#include "diag/CDtcPage.h"

#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CDataExchange.h"
#include "diag/CListPageFonts.h"
#include "diag/ListTableStyle.h"
#include "forms/GridTipRequest.h"
#include "forms/MoveFocusOff.h"
#include "forms/ScaledLength.h"
#include "link/CDataDescriptor.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

#include <vector>

namespace {

// Texts of the string table.
constexpr UINT kStoredText = 15261;                            // "stored DTCs"
constexpr UINT kPendingText = 15262;                           // "pending DTCs"
constexpr UINT kHeaderTexts[] = {15263, 15264, 15265, 15266};  // "Time", "#", "MIL", "DTCs"
constexpr UINT kDeleteText = 15267;                            // "Delete all DTCs"
constexpr UINT kDeleteQuestion = 15268;
constexpr UINT kInvalidCodeText = 15269;  // "Invalid code: 0x%04X"
constexpr UINT kYesText = 15259;
constexpr UINT kNoText = 15260;

constexpr int kStoredElement = 119;
constexpr int kPendingElement = 120;
constexpr int kClearCodesElement = 121;

constexpr int kColumnCount = 4;
constexpr int kCodesColumn = 3;
constexpr int kTipLineLimit = 80;

constexpr COLORREF kMilColour = RGB(200, 0, 0);

}  // namespace

BEGIN_MESSAGE_MAP(CDtcPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_MESSAGE(WM_GRID_TIP_REQUEST, OnTipRequest)
    ON_BN_CLICKED(CDtcPage::kDeleteButtonId, OnDeleteCodes)
END_MESSAGE_MAP()

CDtcPage::CDtcPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {
    m_storedList.fill(kDtcListEnd);
    m_pendingList.fill(kDtcListEnd);
}

CDtcPage::~CDtcPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    m_dataHandler->Unsubscribe(this, kStoredElement, kFlagLoaded);
    m_dataHandler->Unsubscribe(this, kPendingElement, kFlagLoaded);
}

void CDtcPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CDtcPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kStoredLabelId, m_storedLabel);
    DDX_Control(exchange, kPendingLabelId, m_pendingLabel);
    DDX_Control(exchange, kDeleteButtonId, m_deleteButton);
}

BOOL CDtcPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kStoredElement, kFlagLoaded);
        m_dataHandler->Subscribe(this, kPendingElement, kFlagLoaded);
    }
    Layout();
    return TRUE;
}

// ---- Layout and texts ----------------------------------------------------------------------

void CDtcPage::Layout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int gridWidth = (width - ScaledLength(40, sx)) / 2;
    const int leftX = ScaledLength(16, sx);
    const int rightX = ScaledLength(16, sx) + gridWidth + ScaledLength(8, sx);

    m_storedLabel.MoveWindow(leftX, ScaledLength(16, sy), gridWidth, ScaledLength(17, sy), FALSE);
    m_pendingLabel.MoveWindow(rightX, ScaledLength(16, sy), gridWidth, ScaledLength(17, sy), FALSE);
    const int gridTop = client.top + ScaledLength(41, sy);
    const int gridBottom = gridTop + height - ScaledLength(89, sy);
    const RECT storedRect = {leftX, gridTop, leftX + gridWidth, gridBottom};
    const RECT pendingRect = {rightX, gridTop, rightX + gridWidth, gridBottom};
    if (!m_storedGrid.Create(storedRect, this, kStoredGridId) ||
        !m_pendingGrid.Create(pendingRect, this, kPendingGridId)) {
        CLogger::Instance().Log(3000, "CDtcPage::Layout(): the code grids were not created.");
        return;
    }
    m_deleteButton.MoveWindow(leftX, gridBottom + ScaledLength(8, sy), ScaledLength(200, sx),
                              ScaledLength(24, sy), FALSE);

    RECT gridClient = {};
    m_storedGrid.GetClientRect(&gridClient);
    SetUpGrid(m_storedGrid, gridClient.right - gridClient.left);
    SetUpGrid(m_pendingGrid, gridClient.right - gridClient.left);
    SetFonts();
    m_tipFont = CListPageFonts(this, m_scaleX, m_scaleY).TipFont();
    UpdateTexts();
    SetContentHeight(0);
    Invalidate(TRUE);
}

void CDtcPage::SetUpGrid(CGridCtrl& grid, int width) {
    SetUpReadOnlyList(grid, kColumnCount, 1, 1);
    grid.EnableSelection(FALSE);
    grid.SetColumnWidth(0, width / 5);
    grid.SetColumnWidth(1, width / 10);
    grid.SetColumnWidth(2, width / 10);
    grid.SetColumnWidth(3, width - width / 5 - 2 * (width / 10));

    StyleListCells(grid, CListPageFonts(this, m_scaleX, m_scaleY).CellFont());
}

void CDtcPage::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    if (!CListPageFonts(this, m_scaleX, m_scaleY)
             .SetControlFonts(*m_fonts, {&m_deleteButton}, {&m_storedLabel, &m_pendingLabel})) {
        CLogger::Instance().Log(3000, "CDtcPage::SetFonts(): no Verdana font.");
    }
}

void CDtcPage::UpdateTexts() {
    m_storedLabel.SetWindowText(LoadText(m_resources, kStoredText));
    m_pendingLabel.SetWindowText(LoadText(m_resources, kPendingText));
    m_deleteButton.SetWindowText(LoadText(m_resources, kDeleteText));
    FillGrid(m_storedGrid, m_storedList);
    FillGrid(m_pendingGrid, m_pendingList);
}

LRESULT CDtcPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    return 0;
}

// ---- The tables --------------------------------------------------------------------------------

void CDtcPage::WriteHeader(CGridCtrl& grid) {
    for (int column = 0; column < kColumnCount; ++column) {
        grid.SetCellText(0, column, LoadText(m_resources, kHeaderTexts[column]));
        grid.SetCellFormat(0, column, kCentredCellFormat);
    }
}

void CDtcPage::FillGrid(CGridCtrl& grid, const ListBuffer& list) {
    if (grid.GetSafeHwnd() == nullptr) {
        return;
    }
    grid.SetRowCount(1);
    WriteHeader(grid);
    const std::vector<DtcSnapshot> snapshots = ReadDtcSnapshots(list.data());
    grid.SetRowCount(1 + static_cast<int>(snapshots.size()));
    const CString yes = LoadText(m_resources, kYesText);
    const CString no = LoadText(m_resources, kNoText);
    const CString invalidFormat = LoadText(m_resources, kInvalidCodeText);
    for (size_t i = 0; i < snapshots.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const DtcSnapshot& snapshot = snapshots[i];
        ShadeListRow(grid, row, kColumnCount);
        grid.SetCellTextFormat(row, 0, "%04d:%02d:%02d", snapshot.hours, snapshot.minutes, snapshot.seconds);
        grid.SetCellTextFormat(row, 1, "%d", snapshot.count);
        grid.SetCellText(row, 2, snapshot.mil ? yes : no);
        if (snapshot.mil) {
            grid.SetCellTextColour(row, 2, kMilColour);
        }
        grid.SetCellText(row, kCodesColumn, JoinDtcCodes(snapshot, invalidFormat));
    }
    grid.SetColumnWidth(kCodesColumn, 1);
    grid.StretchLastColumn();
    grid.Refresh();
}

void CDtcPage::GetCodesTip(const CGridCtrl& grid, int row, int column, CString& text, LOGFONTA& font) const {
    font = m_tipFont;
    text.Empty();
    if (row < 1 || column != kCodesColumn) {
        return;
    }
    text = WrapTipText(grid.GetCellText(row, column), kTipLineLimit);
}

LRESULT CDtcPage::OnTipRequest(WPARAM wParam, LPARAM lParam) {
    const CTipGridCtrl* grid = reinterpret_cast<const CTipGridCtrl*>(wParam);
    GridTipRequest* request = reinterpret_cast<GridTipRequest*>(lParam);
    if (request == nullptr) {
        return 0;
    }
    if (grid != &m_storedGrid && grid != &m_pendingGrid) {
        request->text.Empty();
        request->font = m_tipFont;
        return 0;
    }
    const CPoint cell = grid->GetTipCell();
    GetCodesTip(*grid, cell.y, cell.x, request->text, request->font);
    return 0;
}

// ---- Messages and commands ---------------------------------------------------------------------

LRESULT CDtcPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int element = LOWORD(lParam);
    if (m_dataHandler == nullptr || (element != kStoredElement && element != kPendingElement)) {
        return 0;
    }
    const bool stored = element == kStoredElement;
    BYTE bytes[kDtcElementBytes] = {};
    m_dataHandler->ReadData(element, bytes);
    ListBuffer& list = stored ? m_storedList : m_pendingList;
    CGridCtrl& grid = stored ? m_storedGrid : m_pendingGrid;
    LinearizeDtcList(bytes, list.data());
    FillGrid(grid, list);
    if (grid.GetRowCount() > 1) {
        m_deleteButton.EnableWindow(TRUE);
    }
    return 0;
}

LRESULT CDtcPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    if (IsLinkUp(static_cast<int>(wParam))) {
        return 0;
    }
    MoveFocusOff(*this, {&m_deleteButton});
    m_deleteButton.EnableWindow(FALSE);
    return 0;
}

LRESULT CDtcPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

void CDtcPage::OnDeleteCodes() {
    if (AfxMessageBox(LoadText(m_resources, kDeleteQuestion), MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    if (m_dataHandler != nullptr) {
        // Units without the capability take the command without clearing anything, and the
        // old codes come back with the next full read.
        CLogger::Instance().Log(3000, "CDtcPage::OnDeleteCodes(): clearing the trouble codes.");
        m_dataHandler->WriteData(kClearCodesElement, nullptr);
    }
    m_storedList.fill(kDtcListEnd);
    m_pendingList.fill(kDtcListEnd);
    FillGrid(m_storedGrid, m_storedList);
    FillGrid(m_pendingGrid, m_pendingList);
}

BOOL CDtcPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    // As on the event log page: Escape hides the title tips and still leaves Diagnosis.
    if (HIWORD(wParam) == 0 && LOWORD(wParam) == IDCANCEL) {
        m_storedGrid.HideTitleTip();
        m_pendingGrid.HideTitleTip();
    }
    return CScrollPage::OnCommand(wParam, lParam);
}
