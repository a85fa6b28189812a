// The parts of a language's number format that the input checks need. On Windows they come
// from the locale database; the portable build has none, so callers (and tests) supply them.
#pragma once

#include "classlib/core/WinTypes.h"

#include <string>

class CLocaleNumberFormat {
public:
    // The values used for any setting that the locale cannot give.
    CLocaleNumberFormat();

    // Reads the settings of a locale id (1033 English, 1031 German, ...). Settings the
    // locale cannot give keep their defaults; natively every setting keeps its default.
    static CLocaleNumberFormat FromLocale(DWORD localeId);

    std::string m_negativeSign;      // "-"
    std::string m_digits;            // the ten digit characters, "0123456789"
    int m_negativeMode;              // where the sign stands, 0 to 4; 1 is a leading sign
    std::string m_decimalSeparator;  // "."
};
