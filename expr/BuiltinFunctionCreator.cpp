// Factories of the built-in functions.
#include "expr/BuiltinFunctionCreator.h"

#include <utility>

namespace ExprEval {

BuiltinFunctionCreator::BuiltinFunctionCreator(std::string name,
                                               ArgumentCounts counts,
                                               BuiltinFunctionNode::Compute compute)
    : m_name(std::move(name)), m_counts(counts), m_compute(compute) {}

std::unique_ptr<FunctionNode> BuiltinFunctionCreator::DoCreate(ExpressionObject* expression) const {
    auto node = std::make_unique<BuiltinFunctionNode>(expression, m_compute);
    node->SetArgumentCount(m_counts.minValues, m_counts.maxValues, m_counts.minReferences,
                           m_counts.maxReferences);
    return node;
}

}  // namespace ExprEval
