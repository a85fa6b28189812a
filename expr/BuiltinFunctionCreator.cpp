// Factories of the built-in functions.
#include "expr/BuiltinFunctionCreator.h"

#include <utility>

namespace ExprEval {

BuiltinFunctionCreator::BuiltinFunctionCreator(std::string name,
                                               ArgumentCounts counts,
                                               BuiltinFunctionNode::Compute compute)
    : m_name(std::move(name)), m_counts(counts), m_compute(compute) {}

std::unique_ptr<FunctionNode> BuiltinFunctionCreator::DoCreate(ExpressionObject* expression) const {
    return CreateNode(expression);
}

}  // namespace ExprEval
