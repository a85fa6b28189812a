// Nodes of the built-in functions.
#include "expr/BuiltinFunctionNode.h"

namespace ExprEval {

BuiltinFunctionNode::BuiltinFunctionNode(ExpressionObject* expression, Compute compute)
    : FunctionNode(expression), m_compute(compute) {}

}  // namespace ExprEval
