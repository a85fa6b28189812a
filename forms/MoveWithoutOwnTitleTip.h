// For grids whose title tip shows something of their own, or nothing: the grid's own
// handling of a mouse move, with the tip it would show over clipped text switched off
// meanwhile.
#pragma once

#include "grid/CGridCtrl.h"

void MoveWithoutOwnTitleTip(CGridCtrl& grid, UINT flags, CPoint point);
