// What a grid asks its page for with message 0x611 (wParam the grid, lParam this record):
// the tip text of a cell and the font to show it in. An empty text shows no tip.
#pragma once

#include "classlib/core/CString.h"

#include <windows.h>

constexpr UINT WM_GRID_TIP_REQUEST = 0x611;

struct GridTipRequest {
    LOGFONTA font = {};
    CString text;
};
