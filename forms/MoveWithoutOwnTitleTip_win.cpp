#include "forms/MoveWithoutOwnTitleTip.h"

void MoveWithoutOwnTitleTip(CGridCtrl& grid, UINT flags, CPoint point) {
    const BOOL titleTips = grid.GetTitleTips();
    grid.EnableTitleTips(FALSE);
    grid.CGridCtrl::OnMouseMove(flags, point);
    grid.EnableTitleTips(titleTips);
}
