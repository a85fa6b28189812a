// The number format that Format and ParseDouble follow: the decimal separator
// of the current language. The language manager sets it; every thread reads it.
#pragma once

#include "classlib/core/WinTypes.h"

class CNumberLocale {
public:
    // The separator written by %f, %e and %g and accepted by ParseDouble; "." at start.
    static char GetDecimalSeparator();
    static void SetDecimalSeparator(char separator);

    // Reads a decimal number the way the C library's conversion does (leading
    // blanks, a sign, digits, the separator, digits, an exponent), but with the
    // separator above. Returns the number of characters used; 0 when the text
    // starts with no number, and *value is then 0.
    static int ParseDouble(LPCSTR text, double* value);
};
