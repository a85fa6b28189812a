// The printf engine behind CString::Format, our own in every build, so that
// every build writes the same text: floating-point conversions use
// CFloatFormatter with the decimal separator of CNumberLocale.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstdarg>
#include <string>

class CPrintfFormatter {
public:
    // Appends the formatted text to out. Supports the flags - + space # 0, widths
    // and precisions (also *), the sizes hh h l ll L z j t I I32 I64 and the
    // conversions d i u o x X c s p f F e E g G %. %n writes nothing; an unknown
    // conversion is copied as it stands. "%s" of a null pointer writes "(null)".
    static void AppendV(std::string& out, LPCSTR format, va_list args);
};
