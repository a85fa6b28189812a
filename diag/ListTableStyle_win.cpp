#include "diag/ListTableStyle.h"

#include "classlib/core/FormatText.h"
#include "diag/TableSortKey.h"
#include "grid/CGridCellBase.h"

namespace {

constexpr COLORREF kOddRowColour = RGB(0xD0, 0xD0, 0xEF);
constexpr COLORREF kEvenRowColour = RGB(0xE0, 0xE0, 0xFF);

}  // namespace

void SetUpReadOnlyList(CGridCtrl& grid, int columns, int rows, int fixedRows) {
    grid.SetColumnCount(columns);
    grid.SetRowCount(rows);
    grid.SetFixedRowCount(fixedRows);
    grid.SetFixedColumnCount(0);
    grid.SetListMode(FALSE);
    grid.SetGridLines(GRID_LINES_BOTH);
    grid.SetEditable(FALSE);
    grid.SetSortCompareFunction(nullptr);
}

void StyleListCells(CGridCtrl& grid, const LOGFONTA& font) {
    for (const BOOL fixedRow : {FALSE, TRUE}) {
        for (const BOOL fixedColumn : {FALSE, TRUE}) {
            CGridCellBase* cell = grid.GetDefaultCell(fixedRow, fixedColumn);
            cell->SetFont(&font);
            cell->SetMargin(0);
            cell->SetFormat(kCentredCellFormat);
            if (fixedRow || fixedColumn) {
                cell->SetBackColour(kListHeaderColour);
            }
        }
    }
}

void WriteSortedHeader(CGridCtrl& grid,
                       const ITextResources* resources,
                       const UINT* headerTexts,
                       int columns,
                       int sortKey) {
    for (int column = 0; column < columns; ++column) {
        const char mark = SortMark(sortKey, column);
        grid.SetCellText(0, column, FormatText(LoadText(resources, headerTexts[column]), mark, mark));
        grid.SetCellFormat(0, column, kCentredCellFormat);
    }
}

void ShadeListRow(CGridCtrl& grid, int row, int columns) {
    const COLORREF background = (row - 1) % 2 == 0 ? kOddRowColour : kEvenRowColour;
    for (int column = 0; column < columns; ++column) {
        grid.SetCellBackColour(row, column, background);
    }
}
