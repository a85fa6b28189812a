// Multiplication.
#include "expr/MultiplyNode.h"

namespace ExprEval {

double MultiplyNode::DoEvaluate() {
    const double right = EvaluateRight();
    const double left = EvaluateLeft();
    return left * right;
}

}  // namespace ExprEval
