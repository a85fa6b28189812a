// Binary "+"; the right operand is evaluated before the left.
#pragma once

#include "expr/BinaryNode.h"

namespace ExprEval {

class AddNode : public BinaryNode {
public:
    explicit AddNode(ExpressionObject* expression) : BinaryNode(expression) {}

protected:
    double DoEvaluate() override;
};

}  // namespace ExprEval
