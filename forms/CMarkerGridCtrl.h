// A grid with a round marker over its cells where the engine works now, over engine speed
// (columns 1..) and injection time (rows 1..). The derived grid says where the engine works and
// the marker's colour; this one holds the axes, finds the place on them, moves the marker, paints
// it, and paints it again where a redrawn cell covered it.
#pragma once

#include "classlib/win/CBrush.h"
#include "classlib/win/CRect.h"
#include "grid/CGridCtrl.h"

class CMarkerGridCtrl : public CGridCtrl {
public:
    static constexpr int kMaxAxis = 32;

    CMarkerGridCtrl() : CGridCtrl(0, 0, 0, 0) {}

    // Ascending breakpoints: speed across, injection time down; more than kMaxAxis are cut.
    void SetAxes(int speedCount, const int* speed, int timeCount, const int* time);

    const CRect& GetMarkerRect() const { return m_markerRect; }

    BOOL RedrawCell(const GridCellId& cell, CDC* dc = nullptr) override;
    BOOL RedrawCell(int row, int col, CDC* dc = nullptr) override;

protected:
    bool HasAxes() const { return m_speedCount > 0 && m_timeCount > 0; }

    int SpeedCount() const { return m_speedCount; }

    int TimeCount() const { return m_timeCount; }

    int SpeedAt(int column) const { return m_speedAxis[column]; }

    int TimeAt(int row) const { return m_timeAxis[row]; }

    // The point of the speed and time in their cell, and that cell's height; false without axes
    // or where the cell has no place on screen.
    bool LocateOnAxes(int speed, int time, CPoint& centre, int& cellHeight);

    // Forgets the marker without painting.
    void ClearMarker() { m_markerRect = CRect(); }

    // Invalidates where the marker was and where it goes; an empty place hides it.
    void MoveMarkerTo(const CRect& place);
    // An outline in the outer brush around a disc in the inner one; nothing while hidden.
    void PaintMarker(CDC& dc, const CBrush& outer, const CBrush& inner) const;

private:
    CRect m_markerRect;
    int m_speedCount = 0;
    int m_speedAxis[kMaxAxis] = {};
    int m_timeCount = 0;
    int m_timeAxis[kMaxAxis] = {};
};
