// Division by zero (or by a value that is not a number).
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class DivideByZeroException : public Exception {
public:
    static constexpr std::int32_t kType = 6;

    DivideByZeroException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
