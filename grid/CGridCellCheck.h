// A cell with a check box in front of its text; a click in the box toggles it when the
// cell may be edited.
#pragma once

#include "grid/CGridCell.h"

class CGridCellCheck : public CGridCell {
    DECLARE_DYNCREATE(CGridCellCheck)

public:
    CGridCellCheck() = default;

    // The previous state; the box is repainted when the cell has been drawn.
    BOOL SetCheck(BOOL checked = TRUE);

    BOOL GetCheck() const { return m_checked ? TRUE : FALSE; }

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;
    BOOL GetTextRect(LPRECT rect) override;
    CSize GetCellExtent(CDC* dc) override;
    void OnClick(CPoint pointCellRelative) override;

    // The box's square for the last drawn rectangle (client coordinates).
    CRect GetCheckBoxRect() const;

private:
    int GetBoxSide() const;

    bool m_checked = false;
    CRect m_rect;  // last drawn, client coordinates
};
