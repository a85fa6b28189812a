// Constants that both the built-in functions and the predefined values need.
#pragma once

namespace ExprEval {

constexpr double kPi = 3.141592653589793;

}  // namespace ExprEval
