// A rectangle in window or screen coordinates; usable wherever a RECT is expected.
#pragma once

#include <windows.h>

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}

    CRect(int leftValue, int topValue, int rightValue, int bottomValue)
        : RECT{leftValue, topValue, rightValue, bottomValue} {}

    int Width() const { return right - left; }

    int Height() const { return bottom - top; }

    operator LPRECT() { return this; }

    operator LPCRECT() const { return this; }
};
