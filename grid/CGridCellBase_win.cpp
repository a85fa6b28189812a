#include "grid/CGridCellBase.h"

#include "classlib/win/CBrush.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CImageList.h"
#include "classlib/win/CPen.h"
#include "classlib/win/CScopedSelect.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/GridWidestLine.h"

#include <windows.h>

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

namespace {

bool IsVerticalFont(const LOGFONTA* font) {
    return font != nullptr && (font->lfEscapement == 900 || font->lfEscapement == -900);
}

void DrawLine(CDC* dc, COLORREF colour, POINT from, POINT to) {
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, colour)) {
        return;
    }
    CScopedSelect select(*dc, pen);
    dc->MoveTo(from.x, from.y);
    dc->LineTo(to.x, to.y);
}

// Light lines top and left, dark ones right and bottom, on the rectangle's edge pixels.
void DrawRaisedFrame(CDC* dc, const CRect& rect) {
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    DrawLine(dc, light, {rect.right, rect.top}, {rect.left, rect.top});
    DrawLine(dc, light, {rect.left, rect.top}, {rect.left, rect.bottom});
    DrawLine(dc, dark, {rect.right, rect.top}, {rect.right, rect.bottom});
    DrawLine(dc, dark, {rect.right, rect.bottom}, {rect.left, rect.bottom});
}

// A font object selected for one scope, when there is one.
class CScopedFont {
public:
    CScopedFont(CDC* dc, CFont* font) {
        if (dc != nullptr && font != nullptr && font->GetSafeHandle() != nullptr) {
            m_select = std::make_unique<CScopedSelect>(*dc, *font);
        }
    }

private:
    std::unique_ptr<CScopedSelect> m_select;
};

}  // namespace

CGridCellBase* CGridCellBase::GetDefaultCell() const {
    CGridCtrl* grid = GetGrid();
    if (grid == nullptr) {
        return nullptr;
    }
    return grid->GetDefaultCell(IsFixedRow(), IsFixedColumn());
}

void CGridCellBase::CopyFrom(const CGridCellBase& source) {
    if (&source == this) {
        return;
    }
    SetGrid(source.GetGrid());
    SetText(source.GetText());
    SetImage(source.GetImage());
    SetData(source.GetData());
    SetState(source.GetState());
    SetFormat(source.GetFormat());
    SetTextColour(source.GetTextColour());
    SetBackColour(source.GetBackColour());
    SetFont(source.IsDefaultFont() ? nullptr : source.GetFont());
    SetMargin(source.GetMargin());
}

int CGridCellBase::GetKnownImageWidth(int* height) const {
    CGridCtrl* grid = GetGrid();
    const int image = GetImage();
    if (grid == nullptr || image < 0 || grid->GetImageList() == nullptr) {
        return -1;
    }
    IMAGEINFO info = {};
    if (!grid->GetImageList()->GetImageInfo(image, &info)) {
        return -1;
    }
    if (height != nullptr) {
        *height = info.rcImage.bottom - info.rcImage.top;
    }
    return info.rcImage.right - info.rcImage.left;
}

BOOL CGridCellBase::GetTextRect(LPRECT rect) {
    const int imageWidth = GetKnownImageWidth();
    if (imageWidth >= 0) {
        rect->left += imageWidth + 1 + static_cast<int>(GetMargin());
    }
    return TRUE;
}

CSize CGridCellBase::GetTextExtent(LPCSTR text, CDC* dc) {
    CGridCtrl* grid = GetGrid();
    CGridDefaultCell* defaultCell = dynamic_cast<CGridDefaultCell*>(GetDefaultCell());
    std::unique_ptr<CClientDC> borrowed;
    if (dc == nullptr && text != nullptr && *text != '\0' && grid != nullptr &&
        grid->GetSafeHwnd() != nullptr) {
        borrowed = std::make_unique<CClientDC>(grid);
        dc = borrowed->GetSafeHdc() != nullptr ? borrowed.get() : nullptr;
    }
    if (text == nullptr || *text == '\0' || dc == nullptr) {
        return defaultCell == nullptr ? CSize() : CSize(defaultCell->GetWidth(), defaultCell->GetHeight());
    }
    CScopedFont font(dc, GetFontObject());
    CSize size;
    const DWORD format = GetFormat();
    if ((format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0) {
        CRect rect(0, 0, GridWidestLine(*dc, CString(text)) + 1, 0);
        dc->DrawText(text, -1, rect, format | DT_CALCRECT);
        size = CSize(rect.Width(), rect.Height());
    } else {
        size = dc->GetTextExtent(text, lstrlenA(text));
    }
    const int margin = static_cast<int>(GetMargin());
    size.cx += 2 * margin;
    size.cy += 2 * margin;
    if (IsVerticalFont(GetFont())) {
        size = CSize(size.cy, size.cx + 4 * margin);
    }
    return size;
}

CSize CGridCellBase::GetCellExtent(CDC* dc) {
    CSize size = GetTextExtent(GetText(), dc);
    int imageHeight = 0;
    const int imageWidth = GetKnownImageWidth(&imageHeight);
    if (imageWidth >= 0) {
        const int margin = static_cast<int>(GetMargin());
        size.cx += imageWidth + (size.cx > 2 * margin ? margin : 0);
        size.cy = std::max(static_cast<int>(size.cy), imageHeight + 2 * margin);
    }
    const int extra = IsFixed() ? 2 : 1;
    size.cx += extra;
    size.cy += extra;
    return size;
}

void CGridCellBase::DrawFixedFrame(CDC* dc, int row, int col, CRect& rect) {
    CGridCtrl* grid = GetGrid();
    const GridCellId focus = grid->GetFocusCell();
    if (grid->GetTrackFocusCell() && grid->IsValid(focus) && (focus.row == row || focus.col == col)) {
        CRect edge(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
        dc->DrawEdge(edge, BDR_SUNKENINNER, BF_RECT);
    } else {
        DrawRaisedFrame(dc, rect);
    }
    rect = CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
}

void CGridCellBase::DrawSortArrow(CDC* dc, CRect& rect, BOOL vertical) {
    const int side = std::min(static_cast<int>(dc->GetTextExtent("M", 1).cy) - 4, rect.Height() - 4);
    if (side <= 0 || side + rect.left >= rect.right) {
        return;
    }
    const int bottom = rect.bottom - 2;
    const int top = bottom - side;
    const int left = vertical ? rect.left + (rect.Width() - side) / 2 : rect.right - side;
    const int right = left + side;
    const int middle = left + side / 2;
    const bool ascending = GetGrid()->GetSortAscending() != FALSE;
    const POINT apex = ascending ? POINT{middle, top} : POINT{middle, bottom};
    const POINT baseLeft = ascending ? POINT{left, bottom} : POINT{left, top};
    const POINT baseRight = ascending ? POINT{right, bottom} : POINT{right, top};
    const POINT edges[3][2] = {{baseLeft, baseRight}, {baseRight, apex}, {apex, baseLeft}};
    for (const auto& edge : edges) {
        DrawLine(dc, GetSysColor(COLOR_3DHILIGHT), {edge[0].x + 1, edge[0].y + 1},
                 {edge[1].x + 1, edge[1].y + 1});
        DrawLine(dc, GetSysColor(COLOR_3DSHADOW), edge[0], edge[1]);
    }
    if (!vertical) {
        rect.right -= side;
    }
}

// Checked before the DC state is saved, so that no exit leaves a saved state behind.
CGridCellBase* CGridCellBase::GetDrawingDefaultCell(const CDC* dc, const CRect& rect) const {
    if (dc == nullptr || rect.Width() <= 0 || rect.Height() <= 0) {
        return nullptr;
    }
    return GetDefaultCell();
}

BOOL CGridCellBase::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground) {
    CGridCellBase* defaultCell = GetDrawingDefaultCell(dc, rect);
    if (defaultCell == nullptr) {
        return FALSE;
    }
    CGridCtrl* grid = GetGrid();
    const int savedState = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    COLORREF textColour =
        GetTextColour() == GRID_COLOUR_DEFAULT ? defaultCell->GetTextColour() : GetTextColour();
    COLORREF backColour = defaultCell->GetBackColour();
    if (GetBackColour() != GRID_COLOUR_DEFAULT) {
        backColour = GetBackColour();
        eraseBackground = TRUE;
    }
    const bool gridLines = grid->GetGridLines() != GRID_LINES_NONE;
    const CRect grown(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            backColour = GetSysColor(COLOR_HIGHLIGHT);
            textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
            eraseBackground = TRUE;
        }
        if (eraseBackground) {
            dc->FillSolidRect(grown, backColour);
        }
        if (grid->GetFrameFocusCell()) {
            CBrush frame;
            if (frame.CreateSolidBrush(textColour)) {
                dc->FrameRect(gridLines ? static_cast<LPCRECT>(rect) : grown, &frame);
            }
        }
        dc->SetTextColor(textColour);
    } else if (IsSelected()) {
        dc->FillSolidRect(grown, GetSysColor(COLOR_HIGHLIGHT));
        dc->SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        if (eraseBackground) {
            dc->FillSolidRect(grown, backColour);
        }
        dc->SetTextColor(textColour);
    }
    if (IsFixed() && gridLines) {
        DrawFixedFrame(dc, row, col, rect);
    }
    CScopedFont font(dc->IsPrinting() ? nullptr : dc, GetFontObject());
    const int margin = static_cast<int>(GetMargin());
    rect = CRect(rect.left + margin, rect.top + margin, rect.right - margin + 1, rect.bottom - margin + 1);
    int imageHeight = 0;
    const int imageWidth = GetKnownImageWidth(&imageHeight);
    if (imageWidth >= 0 && imageWidth <= rect.Width() && imageHeight <= rect.Height()) {
        grid->GetImageList()->Draw(dc, GetImage(), POINT{rect.left, rect.top}, ILD_NORMAL);
    }
    if (row == 0 && grid->GetSortColumn() == col) {
        DrawSortArrow(dc, rect, IsVerticalFont(GetFont()) ? TRUE : FALSE);
    }
    GetTextRect(rect);
    dc->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);
    dc->RestoreDC(savedState);
    return TRUE;
}

BOOL CGridCellBase::PrintCell(CDC* dc, int row, int col, CRect rect) {
    CGridCellBase* defaultCell = GetDrawingDefaultCell(dc, rect);
    if (defaultCell == nullptr) {
        return FALSE;
    }
    CGridCtrl* grid = GetGrid();
    const int savedState = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    COLORREF textColour = RGB(0, 0, 0);
    if (grid->GetShadedPrintOut()) {
        const COLORREF own = GetBackColour();
        const COLORREF fallback = defaultCell->GetBackColour();
        COLORREF back = GRID_COLOUR_DEFAULT;
        if (IsFixed()) {
            back = own != GRID_COLOUR_DEFAULT ? own : fallback;
        } else if (own != GRID_COLOUR_DEFAULT && own != fallback) {
            back = own;
        }
        const bool ownBack = back == own && own != GRID_COLOUR_DEFAULT;
        textColour = ownBack && GetTextColour() != GRID_COLOUR_DEFAULT ? GetTextColour()
                                                                       : defaultCell->GetTextColour();
        if (back == GRID_COLOUR_DEFAULT && dc->GetDeviceCaps(NUMCOLORS) == 2) {
            // A two-colour device shows colours as their grey of equal brightness.
            const int grey =
                (30 * GetRValue(textColour) + 59 * GetGValue(textColour) + 11 * GetBValue(textColour)) / 100;
            textColour = RGB(grey, grey, grey);
        }
        if (back != GRID_COLOUR_DEFAULT) {
            dc->FillSolidRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1), back);
        }
    }
    dc->SetTextColor(textColour);
    CScopedFont font(dc, GetFontObject());
    if (IsFixed() && grid->GetGridLines() != GRID_LINES_NONE) {
        DrawRaisedFrame(dc, rect);
        rect = CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    }
    const int margin = static_cast<int>(GetMargin());
    rect.left += margin;
    rect.right -= margin;
    const int imageWidth = GetKnownImageWidth();
    if (imageWidth >= 0) {
        grid->GetImageList()->Draw(dc, GetImage(), POINT{rect.left, rect.top}, ILD_NORMAL);
        rect.left += imageWidth + margin;
    }
    dc->DrawText(GetText(), -1, rect, (GetFormat() | DT_NOPREFIX) & ~static_cast<DWORD>(DT_NOCLIP));
    dc->RestoreDC(savedState);
    return TRUE;
}

BOOL CGridCellBase::OnSetCursor() {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

LRESULT CGridCellBase::SendNotify(int row, int col, int code) {
    CGridCtrl* grid = GetGrid();
    return grid == nullptr ? 0 : grid->SendNotify(row, col, code);
}
