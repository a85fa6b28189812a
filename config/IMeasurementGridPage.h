// What the measurement grid asks of the page that owns the map it shows.
#pragma once

#include "classlib/core/CString.h"

#include <windows.h>

class IMeasurementGridPage {
public:
    virtual ~IMeasurementGridPage() = default;
    // The cell's percent, zero-based map coordinates.
    virtual int GetCell(int row, int column) = 0;
    // The grid's selected cells were pasted; the page writes them.
    virtual void HandlePaste() = 0;
    // The summary tip of a body cell (grid coordinates, 1-based) and its font; false for none.
    virtual bool FormatSummary(CString& text, LOGFONTA& font, int row, int column) = 0;
};
