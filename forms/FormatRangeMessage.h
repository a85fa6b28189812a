// The message that refuses a typed value outside its range, built from the string table's
// "Element out of range: %s <- %c%s; %s%c." in the current language. Portable, so the message
// is checked natively.
#pragma once

#include "classlib/core/CString.h"

// The pattern is filled in two stages: first its %s with "%s" and its %c with the brackets,
// then with the value and the bounds, already formatted as the field shows them. The texts
// go in as they are, so a "%" in them stays a "%".
CString FormatRangeMessage(const CString& pattern,
                           const CString& value,
                           const CString& low,
                           const CString& high);
