// One edit field of the calibration settings dialogs: how its core parameter is shown, and
// how a typed text is checked (the language's number format, then an optional inclusive
// range) and stored.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

class CLocaleNumberFormat;

struct CalibSettingsField {
    int controlId;
    UINT messageId;  // the "Wrong value at ..." text
    int* whole;      // exactly one of the two is set; not owned
    double* decimal;
    bool ranged;
    double minimum;
    double maximum;

    // "%d" for a whole number, "%f" for a decimal one.
    CString Format() const;
    // Converts and stores the text; false, with the parameter unchanged, when the text is
    // no number of the field's kind or lies outside its range.
    bool Store(const CLocaleNumberFormat& format, const char* text) const;
};
