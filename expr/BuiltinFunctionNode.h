// The node of a built-in function: the shared argument parsing of FunctionNode plus
// the function's own computation, given as a plain function.
#pragma once

#include "expr/FunctionNode.h"

namespace ExprEval {

class BuiltinFunctionNode : public FunctionNode {
public:
    // Computes the function's value from the node's arguments and references.
    using Compute = double (*)(FunctionNode& node);

    BuiltinFunctionNode(ExpressionObject* expression, Compute compute)
        : FunctionNode(expression), m_compute(compute) {}

protected:
    double DoEvaluate() override { return m_compute(*this); }

private:
    Compute m_compute;
};

}  // namespace ExprEval
