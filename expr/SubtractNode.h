// Binary "-"; the left operand is evaluated before the right.
#pragma once

#include "expr/BinaryNode.h"

namespace ExprEval {

class SubtractNode : public BinaryNode {
public:
    explicit SubtractNode(ExpressionObject* expression) : BinaryNode(expression) {}

protected:
    double DoEvaluate() override;
};

}  // namespace ExprEval
