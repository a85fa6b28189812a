// The text of a data saver file: tab-separated rows ended by a single line feed, in code
// page 1252. A file holds a start block, the header line, one row per written sample and a
// stop block; its name carries the time of the engine start.
#pragma once

#include "classlib/core/CLocalTime.h"
#include "classlib/core/CString.h"
#include "diag/CDataSaverSample.h"

class CDataSaverFormat {
public:
    // The chosen name with the start time inserted before the extension (from the last
    // '.' after the last '\\'), or appended when the name has none.
    static CString StampedFileName(const CString& name, const CLocalTime& start);

    static CString StartBlock(const CLocalTime& start);
    static CString StopBlock(const CLocalTime& stop);
    // The 42 column names and the line feed.
    static CString HeaderLine();
    // One row for the sample, stamped with the time of writing, with its line feed.
    static CString Row(const CDataSaverSample& sample, const CLocalTime& written);
};
