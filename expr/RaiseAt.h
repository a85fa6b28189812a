// Raising an evaluator exception with the character range of the offending text.
#pragma once

#include "expr/ExprToken.h"

#include <cstdint>
#include <utility>

namespace ExprEval {

template <typename E>
[[noreturn]] void RaiseAt(E error, std::int32_t start, std::int32_t end) {
    error.SetStart(start);
    error.SetEnd(end);
    throw error;
}

// From the first character of one token to the last character of another.
template <typename E>
[[noreturn]] void RaiseAt(E error, const ExprToken& first, const ExprToken& last) {
    RaiseAt(std::move(error), first.GetStart(), last.GetEnd());
}

}  // namespace ExprEval
