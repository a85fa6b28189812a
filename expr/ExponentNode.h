// "^", through the math library's power function; a domain or range error raises
// MathException("^").
#pragma once

#include "expr/BinaryNode.h"

namespace ExprEval {

class ExponentNode : public BinaryNode {
public:
    explicit ExponentNode(ExpressionObject* expression) : BinaryNode(expression) {}

protected:
    double DoEvaluate() override;
};

}  // namespace ExprEval
