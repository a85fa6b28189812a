#include "config/FitGridColumns.h"

#include "classlib/win/CRect.h"
#include "grid/CGridCtrl.h"

namespace {

constexpr int kAllRows = 3;  // fixed and scrolling rows

int ClientWidth(CGridCtrl& grid) {
    CRect client;
    grid.GetClientRect(client);
    return client.Width();
}

}  // namespace

void FitGridColumns(CGridCtrl& grid, int gap) {
    grid.FitAllColumns(kAllRows);
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
        const int width = grid.GetColumnWidth(col);
        if (width > 0) {
            grid.SetColumnWidth(col, width + gap);
        }
    }
    grid.StretchRowsToHeight(TRUE);
    if (grid.GetVirtualWidth() <= ClientWidth(grid)) {
        grid.StretchColumnsToWidth(TRUE);
        return;
    }
    // Texts wider than the grid keep their room: the grid scrolls instead of cutting them,
    // and the rows share the height that the scroll bar leaves.
    grid.ResetScrollBars();
    grid.StretchRowsToHeight(TRUE);
}
