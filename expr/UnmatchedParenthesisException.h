// A ")" without "(" or a "(" without ")".
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class UnmatchedParenthesisException : public Exception {
public:
    static constexpr std::int32_t kType = 16;

    UnmatchedParenthesisException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
