// Whether a translated text can stand in for the built-in one as a printf format: the callers
// pass fixed arguments, so a translation must ask for the same kinds of argument in the same
// order, or formatting it would read the wrong types.
#pragma once

#include "classlib/core/WinTypes.h"

// True when both formats take the same argument kinds in the same order. Flags, widths,
// precisions and the choice among conversions of one kind (%d and %x, %f and %g) may differ;
// "%%" takes nothing. A "%n" never matches, so a translation cannot make the caller write.
bool HaveSameConversions(LPCSTR text, LPCSTR reference);
