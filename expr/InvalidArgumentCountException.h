// Too few or too many value or reference arguments; the value is the function's name.
#pragma once

#include "expr/Exception.h"

#include <string>
#include <utility>

namespace ExprEval {

class InvalidArgumentCountException : public Exception {
public:
    static constexpr std::int32_t kType = 12;

    explicit InvalidArgumentCountException(std::string value) : Exception(kType, std::move(value)) {}
};

}  // namespace ExprEval
