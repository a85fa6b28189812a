// The records the grid exchanges with its parent and its in-place editors through
// WM_NOTIFY: a notification about one cell, and the full attributes of a cell.
#pragma once

#include "classlib/core/CString.h"

#include <windows.h>

// The attributes of one cell; mask (GRID_ITEM_*) says which fields are meant.
struct GridCellItem {
    int row = 0;
    int col = 0;
    UINT mask = 0;
    UINT state = 0;
    UINT format = 0;
    int image = -1;
    COLORREF backColour = 0;
    COLORREF textColour = 0;
    LPARAM lParam = 0;
    LOGFONTA font = {};
    UINT margin = 0;
    CString text;
};

struct GridNotifyRecord {
    NMHDR hdr;
    int row;
    int col;
};

struct GridCellInfoRecord {
    NMHDR hdr;
    GridCellItem item;
};

// Sent with the cache hint: the range of cells about to be drawn or measured.
struct GridCacheHintRecord {
    NMHDR hdr;
    int minRow;
    int minCol;
    int maxRow;
    int maxCol;
};
