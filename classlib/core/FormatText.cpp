#include "classlib/core/FormatText.h"

#include <cstdarg>

CString FormatText(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return text;
}
