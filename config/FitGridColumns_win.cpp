#include "config/FitGridColumns.h"

#include "grid/CGridCtrl.h"

namespace {

constexpr int kAllRows = 3;  // fixed and scrolling rows

}  // namespace

void FitGridColumns(CGridCtrl& grid, int gap) {
    grid.FitAllColumns(kAllRows);
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
        const int width = grid.GetColumnWidth(col);
        if (width > 0) {
            grid.SetColumnWidth(col, width + gap);
        }
    }
    grid.StretchToWindow(TRUE);
}
