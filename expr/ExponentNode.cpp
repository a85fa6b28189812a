// "^": the left operand raised to the right one.
#include "expr/ExponentNode.h"

#include "expr/Numeric.h"

#include <cmath>

namespace ExprEval {

double ExponentNode::DoEvaluate() {
    const double left = EvaluateLeft();
    const double right = EvaluateRight();
    return CheckMath("^", std::pow(left, right), left, right);
}

}  // namespace ExprEval
