// A character that starts no token.
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class UnknownTokenException : public Exception {
public:
    static constexpr std::int32_t kType = 11;

    UnknownTokenException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
