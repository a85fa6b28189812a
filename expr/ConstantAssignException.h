// An assignment to a constant; the value is the constant's name.
#pragma once

#include "expr/Exception.h"

#include <string>
#include <utility>

namespace ExprEval {

class ConstantAssignException : public Exception {
public:
    static constexpr std::int32_t kType = 13;

    explicit ConstantAssignException(std::string value) : Exception(kType, std::move(value)) {}
};

}  // namespace ExprEval
