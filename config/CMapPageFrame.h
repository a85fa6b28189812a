// The frame both map pages share: the map grid on the left under its time and speed unit labels,
// a column of controls on the right, all inside a small margin of the page's client area.
#pragma once

#include <windows.h>

class CWnd;

class CMapPageFrame {
public:
    CMapPageFrame(CWnd& page, double scaleX, double scaleY);

    int Height() const { return m_height; }

    int Margin() const { return m_margin; }

    int LabelHeight() const { return m_labelHeight; }

    int RightX() const { return m_rightX; }

    int RightWidth() const { return m_rightWidth; }

    // The grid from under the unit labels down to bottom, left of the right column.
    RECT GridRect(int bottom) const {
        return {m_margin, m_margin + m_labelHeight, m_rightX - m_margin, bottom};
    }

    // The time unit stands over the grid's left edge, the speed unit over its right edge.
    void PlaceUnitLabels(int timeLabelId, int speedLabelId) const;

private:
    CWnd& m_page;
    double m_scaleX;
    int m_height = 0;
    int m_margin = 0;
    int m_labelHeight = 0;
    int m_rightWidth = 0;
    int m_rightX = 0;
};
