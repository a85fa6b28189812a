// The grid window's painting, its geometry in client pixels and its scrolling.
#include "classlib/win/CBitmap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CPaintDC.h"
#include "classlib/win/CPen.h"
#include "classlib/win/CScopedSelect.h"
#include "grid/CGridCell.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/CGridTipWnd.h"

#include <windows.h>

#include <algorithm>
#include <memory>

void CGridCtrl::OnPaint() {
    CPaintDC paintDc(this);
    CRect clip;
    if (!m_doubleBuffer || paintDc.IsPrinting() || paintDc.GetClipBox(clip) == ERROR) {
        OnDraw(&paintDc);
        return;
    }
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(&paintDc) ||
        !bitmap.CreateCompatibleBitmap(&paintDc, clip.Width(), clip.Height())) {
        OnDraw(&paintDc);
        return;
    }
    {
        CScopedSelect select(memory, bitmap);
        memory.SetWindowOrg(clip.left, clip.top);
        memory.FillSolidRect(clip, paintDc.GetBkColor());
        OnDraw(&memory);
        paintDc.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memory, clip.left, clip.top,
                       SRCCOPY);
    }
}

BOOL CGridCtrl::OnEraseBkgnd(CDC* dc) {
    return TRUE;
}

void CGridCtrl::EraseBkgnd(CDC* dc) {
    CRect clip;
    if (dc->GetClipBox(clip) == ERROR) {
        return;
    }
    CRect cells;
    GetVisibleNonFixedCellRange(cells);
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    const COLORREF corner = m_defaultCells[kCornerCell]->GetBackColour();
    const COLORREF fixedCol = m_defaultCells[kFixedColumnCell]->GetBackColour();
    const COLORREF fixedRow = m_defaultCells[kFixedRowCell]->GetBackColour();
    const COLORREF normal = m_defaultCells[kNormalCell]->GetBackColour();
    if (clip.left < fixedWidth && clip.top < fixedHeight) {
        dc->FillSolidRect(CRect(clip.left, clip.top, fixedWidth, fixedHeight), corner);
    }
    if (clip.left < fixedWidth && clip.top < cells.bottom) {
        dc->FillSolidRect(CRect(clip.left, clip.top, fixedWidth, cells.bottom), fixedCol);
    }
    if (clip.top < fixedHeight && clip.right > fixedWidth && clip.left < cells.right) {
        dc->FillSolidRect(CRect(fixedWidth - 1, clip.top, cells.right, fixedHeight), fixedRow);
    }
    const CRect body(std::max(static_cast<int>(clip.left), fixedWidth),
                     std::max(static_cast<int>(clip.top), fixedHeight), std::min(clip.right, cells.right),
                     std::min(clip.bottom, cells.bottom));
    if (body.left < body.right && body.top < body.bottom) {
        dc->FillSolidRect(body, normal);
    }
    if (cells.right < clip.right) {
        dc->FillSolidRect(CRect(cells.right, clip.top, clip.right, clip.bottom), m_gridBkColour);
    }
    if (cells.bottom < clip.bottom) {
        dc->FillSolidRect(CRect(clip.left, cells.bottom, std::min(clip.right, cells.right), clip.bottom),
                          m_gridBkColour);
    }
}

// Cells from the running end + 1 to the running end + size: right and bottom are inclusive.
void CGridCtrl::DrawPass(CDC* dc, const CRect& clip, int firstRow, int lastRow, int firstCol, int lastCol) {
    const CGridAxis& rows = m_layout.Rows();
    const CGridAxis& cols = m_layout.Cols();
    int rowEnd = firstRow < GetFixedRowCount() ? -1 : GetFixedRowHeight() - 1;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int height = rows.GetSize(row);
        if (height == 0) {
            continue;
        }
        const int top = rowEnd + 1;
        rowEnd += height;
        if (top > clip.bottom) {
            break;
        }
        if (rowEnd < clip.top) {
            continue;
        }
        int colEnd = firstCol < GetFixedColumnCount() ? -1 : GetFixedColumnWidth() - 1;
        for (int col = firstCol; col <= lastCol; ++col) {
            const int width = cols.GetSize(col);
            if (width == 0) {
                continue;
            }
            const int left = colEnd + 1;
            colEnd += width;
            if (left > clip.right) {
                break;
            }
            if (colEnd < clip.left) {
                continue;
            }
            CGridCellBase* cell = GetCell(row, col);
            if (cell != nullptr) {
                cell->SetCoords(row, col);
                cell->Draw(dc, row, col, CRect(left, top, colEnd, rowEnd), FALSE);
            }
        }
    }
}

void CGridCtrl::DrawGridLines(CDC* dc, const GridCellRange& visible, const CRect& visibleRect) {
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, m_gridLineColour)) {
        return;
    }
    CScopedSelect select(*dc, pen);
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    if (m_gridLines == GRID_LINES_VERT || m_gridLines == GRID_LINES_BOTH) {
        int x = fixedWidth;
        for (int col = visible.minCol; col <= visible.maxCol; ++col) {
            const int width = GetColumnWidth(col);
            if (width <= 0) {
                continue;
            }
            x += width;
            dc->MoveTo(x - 1, fixedHeight);
            dc->LineTo(x - 1, visibleRect.bottom);
        }
    }
    if (m_gridLines == GRID_LINES_HORZ || m_gridLines == GRID_LINES_BOTH) {
        int y = fixedHeight;
        for (int row = visible.minRow; row <= visible.maxRow; ++row) {
            const int height = GetRowHeight(row);
            if (height <= 0) {
                continue;
            }
            y += height;
            dc->MoveTo(fixedWidth, y - 1);
            dc->LineTo(visibleRect.right, y - 1);
        }
    }
}

void CGridCtrl::OnDraw(CDC* dc) {
    CRect clip;
    if (!m_allowDraw || dc->GetClipBox(clip) == ERROR) {
        return;
    }
    EraseBkgnd(dc);
    CRect visibleRect;
    const GridCellRange visible = GetVisibleNonFixedCellRange(visibleRect);
    if (m_virtualMode) {
        SendCacheHint(visible);
    }
    const int fixedRows = GetFixedRowCount();
    const int fixedCols = GetFixedColumnCount();
    DrawPass(dc, clip, 0, fixedRows - 1, 0, fixedCols - 1);
    DrawPass(dc, clip, visible.minRow, visible.maxRow, 0, fixedCols - 1);
    DrawPass(dc, clip, 0, fixedRows - 1, visible.minCol, visible.maxCol);
    DrawPass(dc, clip, visible.minRow, visible.maxRow, visible.minCol, visible.maxCol);
    DrawGridLines(dc, visible, visibleRect);
    if (m_virtualMode) {
        SendCacheHint(GridCellRange());
    }
}

void CGridCtrl::FillVirtualCell(int row, int col) const {
    if (m_virtualCell == nullptr) {
        m_virtualCell = std::make_unique<CGridCell>();
        m_virtualRecord = std::make_unique<GridCellInfoRecord>();
    }
    GridCellItem& item = m_virtualRecord->item;
    const CGridDefaultCell* defaults = DefaultCellAt(row, col);
    item = GridCellItem();
    item.row = row;
    item.col = col;
    item.mask = 0xFFFFFFFF;
    item.format = defaults->GetFormat();
    item.image = defaults->GetImage();
    item.backColour = defaults->GetBackColour();
    item.textColour = defaults->GetTextColour();
    item.lParam = defaults->GetData();
    if (defaults->GetFont() != nullptr) {
        item.font = *defaults->GetFont();
    }
    item.margin = defaults->GetMargin();
    if (m_selectedCells.Contains(GridCellId(row, col))) {
        item.state |= GRID_STATE_SELECTED;
    }
    if (row < GetFixedRowCount()) {
        item.state |= GRID_STATE_FIXED | GRID_STATE_FIXEDROW;
    }
    if (col < GetFixedColumnCount()) {
        item.state |= GRID_STATE_FIXED | GRID_STATE_FIXEDCOL;
    }
    if (m_focusCell == GridCellId(row, col)) {
        item.state |= GRID_STATE_FOCUSED;
    }
    CGridCtrl* self = const_cast<CGridCtrl*>(this);
    if (m_callback != nullptr) {
        m_callback(m_virtualRecord.get(), m_callbackValue);
    } else {
        self->RequestCellInfo(m_virtualRecord.get());
    }
    CGridCell& cell = *m_virtualCell;
    cell.SetState(item.state);
    cell.SetFormat(item.format);
    cell.SetImage(item.image);
    cell.SetBackColour(item.backColour);
    cell.SetTextColour(item.textColour);
    cell.SetData(item.lParam);
    cell.SetFont(&item.font);
    cell.SetMargin(item.margin);
    cell.SetText(item.text);
    cell.SetGrid(self);
}

CGridCellBase* CGridCtrl::GetCell(int row, int col) const {
    if (!IsValid(row, col)) {
        return nullptr;
    }
    if (m_virtualMode) {
        FillVirtualCell(row, col);
        return m_virtualCell.get();
    }
    if (row >= static_cast<int>(m_cells.size()) || col >= static_cast<int>(m_cells[row].size())) {
        return nullptr;
    }
    return m_cells[row][col];
}

void CGridCtrl::DrawCellGridLines(CDC* dc, const CRect& rect) {
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, m_gridLineColour)) {
        return;
    }
    CScopedSelect select(*dc, pen);
    if (m_gridLines == GRID_LINES_HORZ || m_gridLines == GRID_LINES_BOTH) {
        dc->MoveTo(rect.left, rect.bottom);
        dc->LineTo(rect.right + 1, rect.bottom);
    }
    if (m_gridLines == GRID_LINES_VERT || m_gridLines == GRID_LINES_BOTH) {
        dc->MoveTo(rect.right, rect.top);
        dc->LineTo(rect.right, rect.bottom + 1);
    }
}

BOOL CGridCtrl::RedrawCell(const GridCellId& cell, CDC* dc) {
    return RedrawCell(cell.row, cell.col, dc);
}

BOOL CGridCtrl::RedrawCell(int row, int col, CDC* dc) {
    CRect rect;
    if (!m_allowDraw || !IsCellVisible(row, col) || !GetCellRect(row, col, rect)) {
        return FALSE;
    }
    std::unique_ptr<CClientDC> borrowed;
    if (dc == nullptr) {
        borrowed = std::make_unique<CClientDC>(this);
        if (borrowed->GetSafeHdc() == nullptr) {
            InvalidateRect(rect, TRUE);
            return TRUE;
        }
        dc = borrowed.get();
    }
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetCoords(row, col);
    const BOOL drawn = cell->Draw(dc, row, col, rect, TRUE);
    if (!IsFixedCell(row, col)) {
        DrawCellGridLines(dc, rect);
    }
    return drawn;
}

BOOL CGridCtrl::RedrawRow(int row) {
    CClientDC dc(this);
    BOOL all = TRUE;
    for (int col = 0; col < GetColumnCount(); ++col) {
        all = RedrawCell(row, col, &dc) && all;
    }
    return all;
}

BOOL CGridCtrl::RedrawColumn(int col) {
    CClientDC dc(this);
    BOOL all = TRUE;
    for (int row = 0; row < GetRowCount(); ++row) {
        all = RedrawCell(row, col, &dc) && all;
    }
    return all;
}

void CGridCtrl::SetRedraw(BOOL allow, BOOL resetScrollBars) {
    const BOOL wasAllowed = m_allowDraw;
    m_allowDraw = allow;
    if (allow && !wasAllowed) {
        Refresh();
    }
    if (resetScrollBars) {
        ResetScrollBars();
    }
}

GridCellId CGridCtrl::GetTopleftNonFixedCell(BOOL force) {
    if (force || m_topLeftCell.row == -1 || m_topLeftCell.col == -1) {
        m_topLeftCell = m_layout.GetTopleftNonFixedCell(GetScrollPos32(SB_HORZ), GetScrollPos32(SB_VERT));
    }
    return m_topLeftCell;
}

GridCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT rect, BOOL force) {
    CRect client;
    if (IsWindow()) {
        GetClientRect(client);
    }
    int right = 0;
    int bottom = 0;
    const GridCellRange range = m_layout.GetVisibleRange(GetTopleftNonFixedCell(force), client.right,
                                                         client.bottom, false, &right, &bottom);
    if (rect != nullptr) {
        *rect = CRect(0, 0, right, bottom);
    }
    return range;
}

GridCellRange CGridCtrl::GetUnobstructedNonFixedCellRange(BOOL force) {
    CRect client;
    if (IsWindow()) {
        GetClientRect(client);
    }
    return m_layout.GetVisibleRange(GetTopleftNonFixedCell(force), client.right, client.bottom, true, nullptr,
                                    nullptr);
}

BOOL CGridCtrl::GetCellOrigin(int row, int col, LPPOINT point) {
    int x = 0;
    int y = 0;
    if (!m_layout.GetCellOrigin(row, col, GetTopleftNonFixedCell(), &x, &y)) {
        return FALSE;
    }
    point->x = x;
    point->y = y;
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int row, int col, LPRECT rect) {
    POINT origin = {};
    if (!GetCellOrigin(row, col, &origin)) {
        return FALSE;
    }
    *rect = CRect(origin.x, origin.y, origin.x + GetColumnWidth(col) - 1, origin.y + GetRowHeight(row) - 1);
    return TRUE;
}

BOOL CGridCtrl::GetCellRangeRect(const GridCellRange& range, LPRECT rect) {
    POINT minOrigin = {};
    POINT maxOrigin = {};
    if (!GetCellOrigin(range.minRow, range.minCol, &minOrigin) ||
        !GetCellOrigin(range.maxRow, range.maxCol, &maxOrigin)) {
        return FALSE;
    }
    *rect = CRect(minOrigin.x, minOrigin.y, maxOrigin.x + GetColumnWidth(range.maxCol) - 1,
                  maxOrigin.y + GetRowHeight(range.maxRow) - 1);
    return TRUE;
}

BOOL CGridCtrl::GetTextRect(int row, int col, LPRECT rect) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr || !GetCellRect(row, col, rect)) {
        return FALSE;
    }
    return cell->GetTextRect(rect);
}

GridCellId CGridCtrl::CellFromPoint(CPoint point, BOOL allowFixed) {
    return m_layout.CellFromPoint(point.x, point.y, GetTopleftNonFixedCell(), allowFixed != FALSE);
}

int CGridCtrl::GetScrollPos32(int bar, BOOL getTrackPos) {
    if (!IsWindow()) {
        return 0;
    }
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetScrollInfo(bar, &info, getTrackPos ? SIF_TRACKPOS : SIF_POS)) {
        return 0;
    }
    return getTrackPos ? info.nTrackPos : info.nPos;
}

BOOL CGridCtrl::SetScrollPos32(int bar, int position, BOOL redraw) {
    m_topLeftCell = GridCellId();
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = position;
    return SetScrollInfo(bar, &info, redraw);
}

void CGridCtrl::EnableScrollBars(int bar, BOOL enable) {
    const int bits = bar == SB_HORZ ? 1 : bar == SB_VERT ? 2 : 3;
    if (enable) {
        if ((m_scrollBarState & bits) != bits) {
            ShowScrollBar(bar, TRUE);
            m_scrollBarState |= bits;
        }
        return;
    }
    if ((m_scrollBarState & bits) != 0) {
        ShowScrollBar(bar, FALSE);
        m_scrollBarState &= ~bits;
    }
}

GridClientMetrics CGridCtrl::GetClientMetrics() {
    CRect client;
    GetClientRect(client);
    GridClientMetrics metrics;
    metrics.width = client.Width();
    metrics.height = client.Height();
    metrics.vertBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    metrics.horzBarHeight = GetSystemMetrics(SM_CYHSCROLL);
    if ((m_scrollBarState & 2) != 0) {
        metrics.width += metrics.vertBarWidth + GetSystemMetrics(SM_CXBORDER);
    }
    if ((m_scrollBarState & 1) != 0) {
        metrics.height += metrics.horzBarHeight + GetSystemMetrics(SM_CYBORDER);
    }
    return metrics;
}

void CGridCtrl::ResetScrollBars() {
    m_topLeftCell = GridCellId();
    CRect client;
    if (!m_allowDraw || !IsWindow()) {
        return;
    }
    GetClientRect(client);
    if (client.Width() <= 0 || client.Height() <= 0) {
        return;
    }
    const GridScrollPlan plan = m_layout.PlanScrollBars(GetClientMetrics());
    EnableScrollBars(SB_VERT, plan.showVert ? TRUE : FALSE);
    EnableScrollBars(SB_HORZ, plan.showHorz ? TRUE : FALSE);
    m_vertScrollMax = plan.vertMax;
    m_horzScrollMax = plan.horzMax;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE | SIF_RANGE;
    info.nMin = 0;
    info.nMax = plan.horzMax;
    info.nPage = static_cast<UINT>(plan.horzPage);
    SetScrollInfo(SB_HORZ, &info, TRUE);
    info.fMask |= SIF_DISABLENOSCROLL;
    info.nMax = plan.vertMax;
    info.nPage = static_cast<UINT>(plan.vertPage);
    SetScrollInfo(SB_VERT, &info, TRUE);
    m_topLeftCell = GridCellId();
}

void CGridCtrl::InvalidateNonFixedArea(BOOL horizontal) {
    CRect area;
    GetClientRect(area);
    if (horizontal) {
        area.left = GetFixedColumnWidth();
    } else {
        area.top = GetFixedRowHeight();
    }
    InvalidateRect(area, TRUE);
}

void CGridCtrl::OnHScroll(UINT code, UINT position, CWnd* scrollBar) {
    ScrollAxis(SB_HORZ, code);
}

void CGridCtrl::OnVScroll(UINT code, UINT position, CWnd* scrollBar) {
    ScrollAxis(SB_VERT, code);
}

// Both bars scroll alike: lines by the size of the row or column at the top-left, pages
// by the client size beyond the fixed part. Every change repaints by invalidation.
void CGridCtrl::ScrollAxis(int bar, UINT code) {
    EndEditing();
    HideTitleTip();
    const bool horizontal = bar == SB_HORZ;
    const CGridAxis& axis = m_layout.Axis(horizontal);
    const int position = GetScrollPos32(bar);
    const int maximum = horizontal ? m_horzScrollMax : m_vertScrollMax;
    const GridCellId topLeft = GetTopleftNonFixedCell();
    const int first = horizontal ? topLeft.col : topLeft.row;
    CRect client;
    GetClientRect(client);
    const int page = horizontal ? client.right - GetFixedColumnWidth() : client.bottom - GetFixedRowHeight();
    switch (code) {
    case SB_LINEUP:
        if (position > 0 && first > axis.GetFixedCount()) {
            SetScrollPos32(bar, std::max(0, position - axis.LineStepBack(first)));
            InvalidateNonFixedArea(horizontal ? TRUE : FALSE);
        }
        break;
    case SB_LINEDOWN:
        if (position < maximum) {
            SetScrollPos32(bar, position + axis.LineStepForward(first));
            if (GetScrollPos32(bar) != position) {
                InvalidateNonFixedArea(horizontal ? TRUE : FALSE);
            }
        }
        break;
    case SB_PAGEUP:
        if (position > 0) {
            SetScrollPos32(bar, std::max(0, position - page));
            InvalidateNonFixedArea(horizontal ? TRUE : FALSE);
        }
        break;
    case SB_PAGEDOWN:
        if (position < maximum) {
            SetScrollPos32(bar, std::min(maximum, position + page));
            InvalidateNonFixedArea(horizontal ? TRUE : FALSE);
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(bar, GetScrollPos32(bar, TRUE));
        if (GetTopleftNonFixedCell() != topLeft) {
            InvalidateNonFixedArea(horizontal ? TRUE : FALSE);
        }
        break;
    case SB_TOP:
        if (position > 0) {
            SetScrollPos32(bar, 0);
            Invalidate();
        }
        break;
    case SB_BOTTOM:
        if (position < maximum) {
            SetScrollPos32(bar, maximum);
            Invalidate();
        }
        break;
    default:
        break;
    }
}

void CGridCtrl::OnSetFont(HFONT font, BOOL redraw) {
    CWnd::OnSetFont(font, redraw);
    LOGFONTA logFont = {};
    if (font == nullptr || GetObjectA(font, sizeof(logFont), &logFont) == 0) {
        return;
    }
    for (auto& cell : m_defaultCells) {
        cell->SetFont(&logFont);
    }
    Refresh();
}

HFONT CGridCtrl::OnGetFont() {
    CFont* font = m_defaultCells[kNormalCell]->GetFontObject();
    return font == nullptr ? nullptr : static_cast<HFONT>(font->GetSafeHandle());
}
