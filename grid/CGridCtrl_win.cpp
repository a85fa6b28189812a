// The grid window's set-up and teardown, its notifications to the parent and the window
// messages that belong to no other area (size, dialog code, capture, timer, colours).
#include "grid/CGridCtrl.h"

#include "grid/CGridCell.h"
#include "grid/CGridDefaultCell.h"
#include "grid/CGridDropHandler.h"
#include "grid/CGridTipWnd.h"
#include "grid/EnsureGridOle.h"
#include "grid/RegisterGridWindowClass.h"

#include <windows.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_TIMER()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_IME_CHAR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
    ON_WM_CAPTURECHANGED()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETFONT()
    ON_WM_GETFONT()
    ON_NOTIFY(GRIDN_ENDEDIT, CGridCtrl::kEditorId, OnEndInPlaceEdit)
    ON_COMMAND(GRID_CMD_EDIT_CUT, OnEditCut)
    ON_COMMAND(GRID_CMD_EDIT_COPY, OnEditCopy)
    ON_COMMAND(GRID_CMD_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(GRID_CMD_EDIT_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(GRID_CMD_EDIT_CUT, OnUpdateEditCut)
    ON_UPDATE_COMMAND_UI(GRID_CMD_EDIT_COPY, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(GRID_CMD_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(GRID_CMD_EDIT_SELECT_ALL, OnUpdateSelectAll)
END_MESSAGE_MAP()

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols)
    : m_titleTip(std::make_unique<CGridTipWnd>()),
      m_defaultCellClass(RUNTIME_CLASS(CGridCell)),
      m_dropHandler(std::make_unique<CGridDropHandler>()) {
    RegisterWindowClass();
    EnsureGridOle();
    ReadSystemColours();
    ReadWheelLines();
    SetUpDefaultCells();
    m_gridBkColour = m_shadowColour;
    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
    m_modified = FALSE;
}

CGridCtrl::~CGridCtrl() {
    DeleteAllItems();
    if (m_titleTip != nullptr) {
        m_titleTip->DestroyTip();
    }
    DestroyWindow();
}

void CGridCtrl::RegisterWindowClass() {
    RegisterGridWindowClass(kWindowClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_3DFACE);
}

void CGridCtrl::ReadSystemColours() {
    m_windowTextColour = GetSysColor(COLOR_WINDOWTEXT);
    m_windowColour = GetSysColor(COLOR_WINDOW);
    m_faceColour = GetSysColor(COLOR_BTNFACE);
    m_shadowColour = GetSysColor(COLOR_BTNSHADOW);
}

void CGridCtrl::ReadWheelLines() {
    UINT lines = 3;
    if (SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) {
        m_wheelLines = static_cast<int>(lines);
    }
}

void CGridCtrl::SetUpDefaultCells() {
    for (int i = 0; i < kDefaultCellCount; ++i) {
        m_defaultCells[i] = std::make_unique<CGridDefaultCell>();
        m_defaultCells[i]->SetGrid(this);
        m_defaultCells[i]->SetTextColour(m_windowTextColour);
        m_defaultCells[i]->SetBackColour(i == kNormalCell ? m_windowColour : m_faceColour);
    }
}

CGridCellBase* CGridCtrl::GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const {
    if (fixedRow && fixedCol) {
        return m_defaultCells[kCornerCell].get();
    }
    if (fixedRow) {
        return m_defaultCells[kFixedRowCell].get();
    }
    return m_defaultCells[fixedCol ? kFixedColumnCell : kNormalCell].get();
}

CGridDefaultCell* CGridCtrl::DefaultCellAt(int row, int col) const {
    const BOOL fixedRow = row < GetFixedRowCount() ? TRUE : FALSE;
    const BOOL fixedCol = col < GetFixedColumnCount() ? TRUE : FALSE;
    return static_cast<CGridDefaultCell*>(GetDefaultCell(fixedRow, fixedCol));
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* parent, UINT id, DWORD style) {
    if (!CreateEx(0, kWindowClass, nullptr, style, rect, parent == nullptr ? nullptr : parent->GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        return FALSE;
    }
    for (int row = 0; row < GetRowCount(); ++row) {
        m_layout.Rows().SetSize(row, m_defaultCells[kNormalCell]->GetHeight());
    }
    for (int col = 0; col < GetColumnCount(); ++col) {
        m_layout.Cols().SetSize(col, m_defaultCells[kNormalCell]->GetWidth());
    }
    return TRUE;
}

void CGridCtrl::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    // The moves below make the frame be recalculated, which can reach this code again; any entry
    // while one is under way, for this grid or another, returns at once.
    static bool settingUp = false;
    if (settingUp) {
        return;
    }
    settingUp = true;
    m_titleTip->SetParentWnd(this);
    if (IsWindow()) {
        ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        CRect rect;
        GetWindowRect(rect);
        const CWnd* parent = GetParent();
        if (parent != nullptr) {
            parent->ScreenToClient(rect);
        }
        MoveWindow(rect.left - 1, rect.top - 1, rect.Width() + 2, rect.Height() + 2, FALSE);
        MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    }
    settingUp = false;
}

CWnd* CGridCtrl::GetNotifyTarget() const {
    CWnd* owner = GetOwner();
    if (owner != nullptr && owner->IsWindow()) {
        return owner;
    }
    CWnd* parent = GetParent();
    return parent != nullptr && parent->IsWindow() ? parent : nullptr;
}

LRESULT CGridCtrl::SendNotify(int row, int col, int code) {
    if (!IsWindow()) {
        return 0;
    }
    GridNotifyRecord record = {};
    record.hdr.hwndFrom = m_hWnd;
    record.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    record.hdr.code = static_cast<UINT>(code);
    record.row = row;
    record.col = col;
    CWnd* receiver = GetNotifyTarget();
    if (receiver == nullptr) {
        return 0;
    }
    return receiver->SendMessage(WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
}

LRESULT CGridCtrl::RequestCellInfo(GridCellInfoRecord* record) {
    CWnd* receiver = IsWindow() ? GetNotifyTarget() : nullptr;
    if (receiver == nullptr) {
        return 0;
    }
    record->hdr.hwndFrom = m_hWnd;
    record->hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    record->hdr.code = static_cast<UINT>(GRIDN_CELLINFO);
    return receiver->SendMessage(WM_NOTIFY, record->hdr.idFrom, reinterpret_cast<LPARAM>(record));
}

LRESULT CGridCtrl::SendCacheHint(const GridCellRange& range) {
    CWnd* receiver = IsWindow() ? GetNotifyTarget() : nullptr;
    if (receiver == nullptr) {
        return 0;
    }
    GridCacheHintRecord record = {};
    record.hdr.hwndFrom = m_hWnd;
    record.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    record.hdr.code = static_cast<UINT>(GRIDN_CACHEHINT);
    record.minRow = range.minRow;
    record.minCol = range.minCol;
    record.maxRow = range.maxRow;
    record.maxCol = range.maxCol;
    return receiver->SendMessage(WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
}

// The guard is per grid, so that a nested size change of another grid still updates its bars.
void CGridCtrl::OnSize(UINT type, int width, int height) {
    if (m_inSize || !IsWindow()) {
        return;
    }
    m_inSize = true;
    // Only the first registration succeeds; the window exists for certain by now.
    m_dropHandler->Register(this);
    EndEditing();
    CWnd::OnSize(type, width, height);
    ResetScrollBars();
    m_inSize = false;
}

// Revoked while the window still exists: revoking later fails and leaves OLE holding the
// handler after the grid is gone.
void CGridCtrl::OnDestroy() {
    m_dropHandler->Revoke();
    CWnd::OnDestroy();
}

UINT CGridCtrl::OnGetDlgCode() {
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_handleTabKey && (GetKeyState(VK_CONTROL) & 0x8000) == 0) {
        code |= DLGC_WANTTAB;
    }
    return code;
}

// Losing the capture in the middle of a drag or a resize (a message box popping up, say)
// must leave nothing behind: no timer, no tracking line, no cursor clip, no stuck mode.
void CGridCtrl::OnCaptureChanged(CWnd* wnd) {
    if (m_releasingCapture || (wnd != nullptr && wnd->GetSafeHwnd() == m_hWnd)) {
        return;
    }
    if (m_timerId != 0) {
        KillTimer(m_timerId);
        m_timerId = 0;
    }
    if (m_mouseMode == GRID_MOUSE_DRAGGING) {
        m_mouseMode = GRID_MOUSE_NOTHING;
    }
    StopSizingAfterCaptureLoss();
}

void CGridCtrl::StopSizingAfterCaptureLoss() {
    if (m_mouseMode != GRID_MOUSE_SIZING_COL && m_mouseMode != GRID_MOUSE_SIZING_ROW) {
        return;
    }
    InvertTrackingLine(m_lastMousePoint, m_mouseMode == GRID_MOUSE_SIZING_COL ? TRUE : FALSE);
    ReleaseCursorClip();
    m_leftButtonDown = FALSE;
    m_mouseMode = GRID_MOUSE_NOTHING;
}

void CGridCtrl::OnTimer(UINT_PTR id) {
    if (id != kSelectionTimerId) {
        return;
    }
    CPoint point;
    if (!GetCursorPos(&point)) {
        return;
    }
    ScreenToClient(&point);
    CRect client;
    GetClientRect(client);
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    const int clampedX = std::max(0, std::min(static_cast<int>(point.x), static_cast<int>(client.right) - 1));
    const int clampedY =
        std::max(0, std::min(static_cast<int>(point.y), static_cast<int>(client.bottom) - 1));
    if (point.y > client.bottom) {
        SendMessage(WM_KEYDOWN, VK_DOWN);
        OnSelecting(CellFromPoint(CPoint(clampedX, client.bottom - 1)));
    } else if (point.y < fixedHeight) {
        SendMessage(WM_KEYDOWN, VK_UP);
        OnSelecting(CellFromPoint(CPoint(clampedX, fixedHeight + 1)));
    }
    if (point.x > client.right) {
        SendMessage(WM_KEYDOWN, VK_RIGHT);
        OnSelecting(CellFromPoint(CPoint(client.right - 1, clampedY)));
    } else if (point.x < fixedWidth) {
        SendMessage(WM_KEYDOWN, VK_LEFT);
        OnSelecting(CellFromPoint(CPoint(fixedWidth + 1, clampedY)));
    }
}

void CGridCtrl::OnSysColorChange() {
    CWnd::OnSysColorChange();
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int i = 0; i < kDefaultCellCount; ++i) {
        CGridDefaultCell* cell = m_defaultCells[i].get();
        if (cell->GetTextColour() == m_windowTextColour) {
            cell->SetTextColour(windowText);
        }
        const COLORREF storedBack = i == kNormalCell ? m_windowColour : m_faceColour;
        if (cell->GetBackColour() == storedBack) {
            cell->SetBackColour(i == kNormalCell ? window : face);
        }
    }
    if (m_gridBkColour == m_shadowColour) {
        m_gridBkColour = shadow;
    }
    ReadSystemColours();
}

void CGridCtrl::HideTitleTip() {
    if (m_titleTip != nullptr) {
        m_titleTip->Hide();
    }
}
