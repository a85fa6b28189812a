// A grid with a round marker over its cells where the engine works now. The derived grid
// finds the marker's place and its colour; this one moves it, paints it, and paints it again
// where a redrawn cell covered it.
#pragma once

#include "classlib/win/CBrush.h"
#include "classlib/win/CRect.h"
#include "grid/CGridCtrl.h"

class CMarkerGridCtrl : public CGridCtrl {
public:
    CMarkerGridCtrl() : CGridCtrl(0, 0, 0, 0) {}

    const CRect& GetMarkerRect() const { return m_markerRect; }

    BOOL RedrawCell(const GridCellId& cell, CDC* dc = nullptr) override;
    BOOL RedrawCell(int row, int col, CDC* dc = nullptr) override;

protected:
    // Forgets the marker without painting.
    void ClearMarker() { m_markerRect = CRect(); }

    // Invalidates where the marker was and where it goes; an empty place hides it.
    void MoveMarkerTo(const CRect& place);
    // An outline in the outer brush around a disc in the inner one; nothing while hidden.
    void PaintMarker(CDC& dc, const CBrush& outer, const CBrush& inner) const;

private:
    CRect m_markerRect;
};
