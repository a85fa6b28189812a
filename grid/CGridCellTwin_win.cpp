#include "grid/CGridCellTwin.h"

#include "classlib/win/CBrush.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CPen.h"
#include "classlib/win/CScopedSelect.h"
#include "grid/CGridCtrl.h"
#include "grid/GridCellShapes.h"

#include <windows.h>

#include <algorithm>
#include <memory>

IMPLEMENT_DYNCREATE(CGridCellTwin, CGridCell)

void CGridCellTwin::SetFirstText(LPCSTR text) {
    m_firstText = text == nullptr ? "" : text;
    JoinTexts();
}

void CGridCellTwin::SetSecondText(LPCSTR text) {
    m_secondText = text == nullptr ? "" : text;
    JoinTexts();
}

void CGridCellTwin::JoinTexts() {
    CString joined = m_firstText;
    joined += "\t";
    joined += m_secondText;
    SetText(joined);
}

COLORREF CGridCellTwin::ResolveText(COLORREF own) const {
    if (own != GRID_COLOUR_DEFAULT) {
        return own;
    }
    if (GetTextColour() != GRID_COLOUR_DEFAULT) {
        return GetTextColour();
    }
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell == nullptr ? GetSysColor(COLOR_WINDOWTEXT) : defaultCell->GetTextColour();
}

COLORREF CGridCellTwin::ResolveBack(COLORREF own) const {
    if (own != GRID_COLOUR_DEFAULT) {
        return own;
    }
    if (GetBackColour() != GRID_COLOUR_DEFAULT) {
        return GetBackColour();
    }
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell == nullptr ? GetSysColor(COLOR_WINDOW) : defaultCell->GetBackColour();
}

CSize CGridCellTwin::GetCellExtent(CDC* dc) {
    const CSize first = GetTextExtent(m_firstText, dc);
    const CSize second = GetTextExtent(m_secondText, dc);
    // One pixel for the line between the halves, as a single cell has for its edge.
    return CSize(2 * std::max(first.cx, second.cx) + 1, std::max(first.cy, second.cy) + 1);
}

BOOL CGridCellTwin::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground) {
    if (dc == nullptr) {
        return TRUE;
    }
    const int savedState = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    const GridTwinHalves halves = SplitTwinCell(rect.left, rect.right);
    CRect first(rect.left, rect.top, halves.leftEnd, rect.bottom);
    CRect second(halves.rightStart, rect.top, rect.right, rect.bottom);
    COLORREF firstText = ResolveText(m_firstTextColour);
    COLORREF secondText = ResolveText(m_secondTextColour);
    COLORREF firstBack = ResolveBack(m_firstBackColour);
    COLORREF secondBack = ResolveBack(m_secondBackColour);
    if (IsSelected()) {
        firstBack = secondBack = GetSysColor(COLOR_HIGHLIGHT);
        firstText = secondText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    CFont* font = GetFontObject();
    std::unique_ptr<CScopedSelect> selectFont;
    if (font != nullptr && font->GetSafeHandle() != nullptr) {
        selectFont = std::make_unique<CScopedSelect>(*dc, *font);
    }
    dc->FillSolidRect(first, firstBack);
    dc->FillSolidRect(second, secondBack);
    const UINT format = GetFormat() | DT_NOPREFIX;
    dc->SetTextColor(firstText);
    dc->DrawText(m_firstText, first, format);
    dc->SetTextColor(secondText);
    dc->DrawText(m_secondText, second, format);
    CGridCtrl* grid = GetGrid();
    const COLORREF lineColour = grid == nullptr ? RGB(192, 192, 192) : grid->GetGridLineColor();
    dc->FillSolidRect(halves.leftEnd, rect.top, 1, rect.Height(),
                      TwinSeparatorColour(firstBack, secondBack, lineColour));
    const CGridCellBase* defaultCell = GetDefaultCell();
    if (IsFocused() && grid != nullptr && grid->GetFrameFocusCell() && defaultCell != nullptr) {
        CBrush frame;
        if (frame.CreateSolidBrush(defaultCell->GetTextColour())) {
            dc->FrameRect(rect, &frame);
        }
    }
    selectFont.reset();
    dc->RestoreDC(savedState);
    return TRUE;
}
