// Subtraction.
#include "expr/SubtractNode.h"

namespace ExprEval {

double SubtractNode::DoEvaluate() {
    const double left = EvaluateLeft();
    const double right = EvaluateRight();
    return left - right;
}

}  // namespace ExprEval
