// A grid whose title tip shows what its page says about a cell instead of the cell's own
// clipped text. Derived grids decide how the page is asked.
#pragma once

#include "forms/GridTipRequest.h"
#include "grid/CGridCtrl.h"

class CPageTipGridCtrl : public CGridCtrl {
public:
    CPageTipGridCtrl() = default;

    void OnMouseMove(UINT flags, CPoint point);
    void OnKillFocus(CWnd* newWnd);

protected:
    // Fills request for the cell under the mouse; false when the page is not asked.
    virtual bool AskForTip(int row, int col, GridTipRequest& request) = 0;

    DECLARE_MESSAGE_MAP()

private:
    void ShowPageTip(int row, int col, CGridCellBase* cell, const GridTipRequest& request);
};
