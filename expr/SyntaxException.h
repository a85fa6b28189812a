// A malformed range of tokens.
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class SyntaxException : public Exception {
public:
    static constexpr std::int32_t kType = 15;

    SyntaxException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
