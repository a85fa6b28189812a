// A cell showing two texts side by side, each half with its own colours. Its text is the
// two texts joined by a Tab.
#pragma once

#include "grid/CGridCell.h"

class CGridCellTwin : public CGridCell {
    DECLARE_DYNCREATE(CGridCellTwin)

public:
    CGridCellTwin() = default;

    void SetFirstText(LPCSTR text);
    void SetSecondText(LPCSTR text);

    const CString& GetFirstText() const { return m_firstText; }

    const CString& GetSecondText() const { return m_secondText; }

    void SetFirstTextColour(COLORREF colour) { m_firstTextColour = colour; }

    void SetSecondTextColour(COLORREF colour) { m_secondTextColour = colour; }

    void SetFirstBackColour(COLORREF colour) { m_firstBackColour = colour; }

    void SetSecondBackColour(COLORREF colour) { m_secondBackColour = colour; }

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;
    // Each text has half of the cell: the cell needs twice the wider one.
    CSize GetCellExtent(CDC* dc) override;

private:
    void JoinTexts();
    COLORREF ResolveText(COLORREF own) const;
    COLORREF ResolveBack(COLORREF own) const;

    CString m_firstText;
    CString m_secondText;
    COLORREF m_firstTextColour = GRID_COLOUR_DEFAULT;
    COLORREF m_secondTextColour = GRID_COLOUR_DEFAULT;
    COLORREF m_firstBackColour = GRID_COLOUR_DEFAULT;
    COLORREF m_secondBackColour = GRID_COLOUR_DEFAULT;
};
