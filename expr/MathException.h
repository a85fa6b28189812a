// A math-library domain or range error; the value is the function's name or "^".
#pragma once

#include "expr/Exception.h"

#include <string>
#include <utility>

namespace ExprEval {

class MathException : public Exception {
public:
    static constexpr std::int32_t kType = 5;

    explicit MathException(std::string value) : Exception(kType, std::move(value)) {}
};

}  // namespace ExprEval
