// A grid that asks its parent window for the tip of any cell under the mouse with message
// 0x611 (sent); the parent learns the cell from GetTipCell.
#pragma once

#include "classlib/win/CPoint.h"
#include "forms/CPageTipGridCtrl.h"

class CTipGridCtrl : public CPageTipGridCtrl {
public:
    CTipGridCtrl() = default;

    // x is the column, y the row of the cell the parent was last asked about.
    CPoint GetTipCell() const { return CPoint(m_tipCol, m_tipRow); }

protected:
    bool AskForTip(int row, int col, GridTipRequest& request) override;

private:
    int m_tipCol = -1;
    int m_tipRow = -1;
};
