// The column widths of the configuration pages' tables: every shown column starts as wide
// as its widest text, as the grid's own fitting measures it, before the columns and rows are
// stretched to the window; the room left over is shared out equally, so neighbouring texts
// keep apart. Texts wider together than the grid are squeezed as the stretch asks.
#pragma once

class CGridCtrl;

void FitGridColumns(CGridCtrl& grid);
