// Where a multi-column tooltip goes: next to the window under the cursor (modes 1-4) or
// below the cursor, kept inside the work area (mode 0 and any other value).
#pragma once

#include "forms/TableTipCells.h"

struct TableTipRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct TableTipPlacementInput {
    int mode = 0;  // 1 above left, 2 above right, 3 below left, 4 below right of the window
    TableTipPoint cursor;
    int cursorHeight = 0;
    // The window under the cursor; without one the tip goes to the cursor.
    const TableTipRect* window = nullptr;
    TableTipRect workArea;
    int width = 0;
    int height = 0;
};

// The tip's top-left corner.
TableTipPoint PlaceTableTip(const TableTipPlacementInput& input);
