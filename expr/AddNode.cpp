// Addition.
#include "expr/AddNode.h"

namespace ExprEval {

double AddNode::DoEvaluate() {
    const double right = EvaluateRight();
    const double left = EvaluateLeft();
    return left + right;
}

}  // namespace ExprEval
