// The read-only list tables of the diagnosis pages: one centred line a cell, grey headers
// and rows in alternating shades of blue.
#pragma once

#include "grid/CGridCtrl.h"
#include "link/ITextResources.h"

#include <windows.h>

constexpr UINT kCentredCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr COLORREF kListHeaderColour = RGB(0xD0, 0xD0, 0xD0);

// A table the user only reads: rows of which fixedRows are headers, no fixed column, every
// grid line, no editing, and no sorting by the grid itself (the page sorts).
void SetUpReadOnlyList(CGridCtrl& grid, int columns, int rows, int fixedRows);

// The default cells: the font, no margin, centred, and grey wherever they are fixed.
void StyleListCells(CGridCtrl& grid, const LOGFONTA& font);

// The header row: each column's text of headerTexts with the sort mark on both sides.
void WriteSortedHeader(CGridCtrl& grid,
                       const ITextResources* resources,
                       const UINT* headerTexts,
                       int columns,
                       int sortKey);

// The background of a list row (1 for the first row under the header) across its columns.
void ShadeListRow(CGridCtrl& grid, int row, int columns);
