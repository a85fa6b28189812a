// OBD-II trouble codes: two bytes as they come from the car, first byte F and second byte S,
// held as one 16-bit code with F as the low byte. The five-character text is the letter from
// bits 7-6 of F (P, C, B, U), then bits 5-4 of F, bits 3-0 of F, bits 7-4 and bits 3-0 of S.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

// The text of a code, such as "P0133" for the bytes 01 33; false (text untouched) when one of
// the last three digits would exceed 9.
bool DtcCodeToText(WORD code, CString& text);

// The code of a text of exactly five characters: P, C, B or U, a digit 0-3 and three digits
// 0-9. False (code untouched) for anything else, small letters included.
bool DtcTextToCode(LPCSTR text, WORD& code);
