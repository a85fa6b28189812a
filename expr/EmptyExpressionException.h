// An empty expression text, or evaluating an expression with nothing parsed.
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class EmptyExpressionException : public Exception {
public:
    static constexpr std::int32_t kType = 10;

    EmptyExpressionException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
