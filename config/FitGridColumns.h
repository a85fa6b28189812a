// The column widths of the configuration pages' tables: every shown column as wide as its
// widest text, as the grid's own fitting measures it, plus a gap that keeps neighbouring
// texts apart; the rest of the grid's width is shared out among them, and texts that need
// more than the width make the grid scroll instead of being cut. The rows fill the height.
#pragma once

class CGridCtrl;

void FitGridColumns(CGridCtrl& grid, int gap);
