// printf into a new string, for formats that are not literals (the string table's texts carry
// their own conversions).
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

CString FormatText(LPCSTR format, ...);
