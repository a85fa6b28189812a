// Numeric rules shared by the evaluator's nodes and built-in functions: the truth
// test, the math-error check and the conversion of any value to a 32-bit integer.
// All of them give the same answer with every C runtime the programs run on.
#pragma once

#include <cstdint>

namespace ExprEval {

// True when the value compares unequal to 0; NaN counts as 0 (false).
inline bool IsTrue(double value) {
    return value < 0 || value > 0;
}

// Returns the result of a math-library call, or raises MathException(name) when the
// call failed. A failure is read from the result itself rather than from errno,
// whose use differs between C runtimes: a NaN from arguments that are numbers is a
// domain error, an infinity from finite arguments a range or pole error. Underflow
// to 0 or to a subnormal is not an error.
double CheckMath(const char* name, double result, double argument);
double CheckMath(const char* name, double result, double first, double second);

// The value truncated toward 0, reduced modulo 2^32. NaN and infinities give 0; this
// matches a cast through a 64-bit integer wherever that cast is defined.
std::uint32_t TruncateToUint32(double value);

}  // namespace ExprEval
