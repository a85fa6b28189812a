// Reads a decimal typed with the language's separator. Portable, so it is checked natively.
#pragma once

#include "classlib/core/WinTypes.h"

// decimalSeparator: the language's, "." when null or empty. False when no number leads the
// text; what follows a leading number is not looked at.
bool ParseLocaleDecimal(LPCSTR text, LPCSTR decimalSeparator, double& value);
