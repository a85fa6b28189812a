#include "config/FitGridColumns.h"

#include "grid/CGridCtrl.h"

namespace {

constexpr int kAllRows = 3;  // fixed and scrolling rows

}  // namespace

void FitGridColumns(CGridCtrl& grid) {
    grid.FitAllColumns(kAllRows);
    grid.StretchToWindow(TRUE);
}
