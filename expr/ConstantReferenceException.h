// A constant passed as a reference argument; the value is the constant's name.
#pragma once

#include "expr/Exception.h"

#include <string>
#include <utility>

namespace ExprEval {

class ConstantReferenceException : public Exception {
public:
    static constexpr std::int32_t kType = 14;

    explicit ConstantReferenceException(std::string value) : Exception(kType, std::move(value)) {}
};

}  // namespace ExprEval
