// A point in window or screen coordinates; usable wherever a POINT is expected.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}

    CPoint(int xValue, int yValue) : POINT{xValue, yValue} {}

    // Unpacks the signed coordinates that mouse messages carry in lParam.
    explicit CPoint(LPARAM packed)
        : POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))} {}

    bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }

    bool operator!=(const CPoint& other) const { return !(*this == other); }
};
