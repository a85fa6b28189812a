// A name added twice to a value list or a function list; the value is the name.
#pragma once

#include "expr/Exception.h"

#include <string>
#include <utility>

namespace ExprEval {

class AlreadyExistsException : public Exception {
public:
    static constexpr std::int32_t kType = 3;

    explicit AlreadyExistsException(std::string value) : Exception(kType, std::move(value)) {}
};

}  // namespace ExprEval
