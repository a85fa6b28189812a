// Function factories of the evaluator.
#include "expr/FunctionCreator.h"

#include "expr/FunctionNode.h"

namespace ExprEval {

FunctionCreator::~FunctionCreator() = default;

std::unique_ptr<FunctionNode> FunctionCreator::Create(ExpressionObject* expression) const {
    std::unique_ptr<FunctionNode> node = DoCreate(expression);
    if (node) {
        node->SetFactory(this);
    }
    return node;
}

}  // namespace ExprEval
