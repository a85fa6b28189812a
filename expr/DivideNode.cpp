// Division, guarded against a zero divisor.
#include "expr/DivideNode.h"

#include "expr/DivideByZeroException.h"
#include "expr/Numeric.h"

namespace ExprEval {

double DivideNode::DoEvaluate() {
    const double right = EvaluateRight();
    if (!IsTrue(right)) {
        throw DivideByZeroException();
    }
    const double left = EvaluateLeft();
    return left / right;
}

}  // namespace ExprEval
