// Checks of typed numbers against the number format of the current language, and the
// hexadecimal dump of bytes used in log lines and displays.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"
#include "link/CLocaleNumberFormat.h"

// True when the trimmed text is a whole integer in the locale's format.
bool IsValidNumberText(DWORD localeId, LPCSTR text);
bool IsValidNumberText(const CLocaleNumberFormat& format, LPCSTR text);
// The value of a text that IsValidNumberText accepts, negative where the locale's form says
// so ("(5)", "5-", "- 5", ...); false for a text it refuses or a value beyond long long.
bool ParseNumberText(const CLocaleNumberFormat& format, LPCSTR text, long long& value);

// True when the trimmed text is a decimal number (integer part, optional separator and
// fraction digits) in the locale's format.
bool IsValidDecimalText(DWORD localeId, LPCSTR text);
bool IsValidDecimalText(const CLocaleNumberFormat& format, LPCSTR text);

// "01 AB ..." : two upper-case hexadecimal digits per byte, single blanks between.
void FormatHexBytes(int count, const BYTE* bytes, CString& text);
