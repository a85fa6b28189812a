// A variable was needed but the expression has no value list.
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class NoValueListException : public Exception {
public:
    static constexpr std::int32_t kType = 7;

    NoValueListException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
