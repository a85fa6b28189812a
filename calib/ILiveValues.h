// Where the calibration cores read the unit's live elements: the data handler in the
// program, a table of element bytes in tests.
#pragma once

#include "classlib/core/WinTypes.h"

class ILiveValues {
public:
    virtual ~ILiveValues() = default;
    // Copies the element's bytes into destination (size bytes available); bytes the
    // element does not fill are zero. An element that does not fit is refused and
    // reads as zeros.
    virtual void ReadElement(int index, BYTE* destination, int size) = 0;
    // 1 or more when the unit answered the element's optional read command.
    virtual int IsReadSupported(int index) = 0;
};
