// A function was called but the expression has no function list.
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class NoFunctionListException : public Exception {
public:
    static constexpr std::int32_t kType = 8;

    NoFunctionListException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
