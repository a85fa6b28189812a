// "/". The divisor is evaluated and tested first: when it is 0 or not a number,
// DivideByZeroException is raised and the dividend is never evaluated.
#pragma once

#include "expr/BinaryNode.h"

namespace ExprEval {

class DivideNode : public BinaryNode {
public:
    explicit DivideNode(ExpressionObject* expression) : BinaryNode(expression) {}

protected:
    double DoEvaluate() override;
};

}  // namespace ExprEval
