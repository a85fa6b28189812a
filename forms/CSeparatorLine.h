// An etched line across the control: a shadow line with a highlight line below it
// (horizontal) or to its right (vertical).
#pragma once

#include "classlib/win/CPen.h"
#include "classlib/win/CStatic.h"

#include <windows.h>

class CSeparatorLine : public CStatic {
public:
    static constexpr int kHorizontal = 1;
    static constexpr int kVertical = 2;

    CSeparatorLine();

    // kHorizontal or kVertical; other values draw nothing.
    void SetOrientation(int orientation) { m_orientation = orientation; }

    void SetColors(COLORREF shadow, COLORREF highlight);

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    int m_orientation = kHorizontal;
    COLORREF m_shadowColor;
    COLORREF m_highlightColor;
    CPen m_shadowPen;
    CPen m_highlightPen;
};
