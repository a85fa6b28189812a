// A cell whose text may hold a link: drawn in the link colour, a hand cursor over the link
// word, and a click on the word opens it with the shell. Never edited in place.
#pragma once

#include "grid/CGridCell.h"

class CGridURLCell : public CGridCell {
    DECLARE_DYNCREATE(CGridURLCell)

public:
    // Opens a link; the shell's "open" unless a test puts its own.
    typedef void (*LinkOpener)(LPCSTR link);

    CGridURLCell();

    static BOOL HasLink(LPCSTR text);
    static void SetLinkOpener(LinkOpener opener);
    static HCURSOR GetLinkCursor();

    void SetLinkColour(COLORREF colour) { m_linkColour = colour; }

    COLORREF GetLinkColour() const { return m_linkColour; }

    void SetAutoLaunch(BOOL launch) { m_launchOnClick = launch != FALSE; }

    BOOL GetAutoLaunch() const { return m_launchOnClick ? TRUE : FALSE; }

    // point is relative to the cell; link receives the word under it.
    BOOL OverLink(CPoint point, CString& link);

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;

    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) override { return FALSE; }

    BOOL OnSetCursor() override;
    void OnClick(CPoint pointCellRelative) override;

private:
    static void LoadLinkCursor();

    COLORREF m_linkColour;
    bool m_launchOnClick = true;
    CRect m_rect;  // last drawn, client coordinates
};
