// "*"; the right operand is evaluated before the left.
#pragma once

#include "expr/BinaryNode.h"

namespace ExprEval {

class MultiplyNode : public BinaryNode {
public:
    explicit MultiplyNode(ExpressionObject* expression) : BinaryNode(expression) {}

protected:
    double DoEvaluate() override;
};

}  // namespace ExprEval
