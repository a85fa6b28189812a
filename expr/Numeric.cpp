// Truth test, math-error check and integer conversion of the evaluator.
#include "expr/Numeric.h"

#include "expr/MathException.h"

#include <cmath>

namespace ExprEval {

namespace {

bool FailedFrom(double result, bool argumentsAreNumbers, bool argumentsAreFinite) {
    if (std::isnan(result)) {
        return argumentsAreNumbers;
    }
    return std::isinf(result) && argumentsAreFinite;
}

}  // namespace

double CheckMath(const char* name, double result, double argument) {
    if (FailedFrom(result, !std::isnan(argument), std::isfinite(argument))) {
        throw MathException(name);
    }
    return result;
}

double CheckMath(const char* name, double result, double first, double second) {
    const bool numbers = !std::isnan(first) && !std::isnan(second);
    const bool finite = std::isfinite(first) && std::isfinite(second);
    if (FailedFrom(result, numbers, finite)) {
        throw MathException(name);
    }
    return result;
}

std::uint32_t TruncateToUint32(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    constexpr double kTwoPow32 = 4294967296.0;
    // fmod is exact, so this keeps the low 32 bits of the integral part for any size.
    double wrapped = std::fmod(std::trunc(value), kTwoPow32);
    if (wrapped < 0) {
        wrapped += kTwoPow32;
    }
    return static_cast<std::uint32_t>(wrapped);
}

}  // namespace ExprEval
