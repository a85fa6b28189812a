// A required pointer argument was null; the value names the operation.
#pragma once

#include "expr/Exception.h"

#include <string>
#include <utility>

namespace ExprEval {

class NullPointerException : public Exception {
public:
    static constexpr std::int32_t kType = 4;

    explicit NullPointerException(std::string value) : Exception(kType, std::move(value)) {}
};

}  // namespace ExprEval
