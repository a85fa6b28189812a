// A function or variable name that cannot be found; the value is the name.
#pragma once

#include "expr/Exception.h"

#include <string>
#include <utility>

namespace ExprEval {

class NotFoundException : public Exception {
public:
    static constexpr std::int32_t kType = 2;

    explicit NotFoundException(std::string value) : Exception(kType, std::move(value)) {}
};

}  // namespace ExprEval
