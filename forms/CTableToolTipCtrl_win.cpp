#include "forms/CTableToolTipCtrl.h"

#include "forms/TableTipPlacement.h"

#include <commctrl.h>

namespace {

std::vector<std::string> SplitTemplates(const std::string& text) {
    std::vector<std::string> templates;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\t', start);
        templates.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            return templates;
        }
        start = end + 1;
    }
}

// A DC of the control with the control's font, for measuring.
class CTipMeasureDC {
public:
    CTipMeasureDC(HWND hwnd, HFONT font) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {
        m_previousFont = font != nullptr && m_dc != nullptr ? ::SelectObject(m_dc, font) : nullptr;
    }

    ~CTipMeasureDC() {
        if (m_previousFont != nullptr) {
            ::SelectObject(m_dc, m_previousFont);
        }
        if (m_dc != nullptr) {
            ::ReleaseDC(m_hwnd, m_dc);
        }
    }

    CTipMeasureDC(const CTipMeasureDC&) = delete;
    CTipMeasureDC& operator=(const CTipMeasureDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
    HGDIOBJ m_previousFont = nullptr;
};

}  // namespace

BEGIN_MESSAGE_MAP(CTableToolTipCtrl, CToolTipCtrl)
    ON_NOTIFY_REFLECT(TTN_SHOW, OnShow)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

void CTableToolTipCtrl::SetTableText(LPCSTR text) {
    m_table.SetText(text != nullptr ? text : "");
    m_layoutDirty = TRUE;
}

void CTableToolTipCtrl::SetMargins(int left, int top, int right, int bottom) {
    const TableTipMargins before = m_cellMargins;
    if (left >= 0) {
        m_cellMargins.left = left;
    }
    if (top >= 0) {
        m_cellMargins.top = top;
    }
    if (right >= 0) {
        m_cellMargins.right = right;
    }
    if (bottom >= 0) {
        m_cellMargins.bottom = bottom;
    }
    if (before.left != m_cellMargins.left || before.top != m_cellMargins.top ||
        before.right != m_cellMargins.right || before.bottom != m_cellMargins.bottom) {
        m_layoutDirty = TRUE;
    }
}

void CTableToolTipCtrl::SetColumnTemplates(LPCSTR text) {
    const std::string templates = text != nullptr ? text : "";
    m_templates = templates.empty() ? std::vector<std::string>() : SplitTemplates(templates);
    m_layoutDirty = TRUE;
}

TableTipMargins CTableToolTipCtrl::ControlMargins() const {
    RECT margins = {};
    GetMargin(&margins);
    return {margins.left, margins.top, margins.right, margins.bottom};
}

void CTableToolTipCtrl::LayOut(HDC dc) {
    m_table.Layout(m_cellMargins, m_templates, ControlMargins(), [dc](const std::string& text) {
        SIZE extent = {};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return TableTipExtent{extent.cx, extent.cy};
    });
    m_layoutDirty = FALSE;
}

void CTableToolTipCtrl::LayOutIfDirty() {
    if (!m_layoutDirty) {
        return;
    }
    const CTipMeasureDC dc(m_hWnd, GetFont());
    if (dc.Get() != nullptr) {
        LayOut(dc.Get());
    }
}

void CTableToolTipCtrl::OnShow(NMHDR* header, LRESULT* result) {
    LayOutIfDirty();
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    const HWND under = ::WindowFromPoint(cursor);
    RECT windowRect = {};
    TableTipRect window;
    TableTipPlacementInput input;
    if (under != nullptr && ::GetWindowRect(under, &windowRect)) {
        window = {windowRect.left, windowRect.top, windowRect.right, windowRect.bottom};
        input.window = &window;
    }
    RECT workArea = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    input.mode = m_placement;
    input.cursor = {cursor.x, cursor.y};
    input.cursorHeight = ::GetSystemMetrics(SM_CYCURSOR);
    input.workArea = {workArea.left, workArea.top, workArea.right, workArea.bottom};
    input.width = m_table.TipWidth();
    input.height = m_table.TipHeight();
    const TableTipPoint corner = PlaceTableTip(input);
    ::SetWindowPos(m_hWnd, nullptr, corner.x, corner.y, input.width, input.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    *result = 1;
}

void CTableToolTipCtrl::DrawTable(HDC dc) {
    const TableTipMargins control = ControlMargins();
    LayOutIfDirty();
    const HFONT font = GetFont();
    const HGDIOBJ previousFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    // The pre-paint stage left the text colour at the background's, to hide the control's
    // own text; the cells are drawn in the tip's text colour.
    const COLORREF previousColor = ::SetTextColor(dc, GetTipTextColor());
    const int startX = control.left - 1;
    int x = startX;
    int y = control.top - 1;
    int column = 0;
    int row = 0;
    for (const std::string& cell : m_table.Cells()) {
        if (cell == TableTipCells::kRowMarker) {
            if (row < m_table.Rows()) {
                y += static_cast<int>(m_table.RowHeights()[row]);
            }
            x = startX;
            column = 0;
            ++row;
            continue;
        }
        if (column >= m_table.Columns() || row >= m_table.Rows()) {
            continue;
        }
        if (!cell.empty()) {
            uint8_t alignment = 0;
            const std::string shown = TableTipCells::ShownText(cell, &alignment);
            const TableTipPoint origin = m_table.TextOrigin(column, row, x, y, m_cellMargins);
            const TableTipExtent extent = m_table.CellExtent(column, row);
            RECT area = {origin.x, origin.y, origin.x + extent.width, origin.y + extent.height};
            ::DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &area,
                        DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
        }
        x += static_cast<int>(m_table.ColumnWidths()[column]);
        ++column;
    }
    ::SetTextColor(dc, previousColor);
    ::SetBkMode(dc, previousMode);
    if (previousFont != nullptr) {
        ::SelectObject(dc, previousFont);
    }
}

void CTableToolTipCtrl::OnCustomDraw(NMHDR* header, LRESULT* result) {
    auto* draw = reinterpret_cast<NMTTCUSTOMDRAW*>(header);
    const DWORD stage = draw->nmcd.dwDrawStage;
    if (stage == CDDS_PREPAINT) {
        // The control's own text disappears in the background colour.
        const COLORREF background = GetTipBkColor();
        ::SetTextColor(draw->nmcd.hdc, background);
        ::SetBkColor(draw->nmcd.hdc, background);
        *result = CDRF_NOTIFYPOSTPAINT;
        return;
    }
    if (stage == CDDS_POSTPAINT) {
        DrawTable(draw->nmcd.hdc);
        *result = CDRF_SKIPDEFAULT;
        return;
    }
    *result = CDRF_DODEFAULT;
}
