// A cell whose in-place editor takes digits only.
#pragma once

#include "grid/CGridCell.h"

class CGridCellNumeric : public CGridCell {
    DECLARE_DYNCREATE(CGridCellNumeric)

public:
    CGridCellNumeric() = default;

    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) override;
};
