// The evaluator's own conversion of number text, independent of the C locale.
#pragma once

#include <string_view>

namespace ExprEval {

// Leading blanks, an optional sign, digits, optionally "." and more digits; stops at
// the first other character. Accumulates in the widest floating-point type.
double ScanNumber(std::string_view text);

}  // namespace ExprEval
