// The expression's abort test asked to stop the evaluation.
#pragma once

#include "expr/Exception.h"

#include <string>

namespace ExprEval {

class AbortException : public Exception {
public:
    static constexpr std::int32_t kType = 9;

    AbortException() : Exception(kType, std::string()) {}
};

}  // namespace ExprEval
