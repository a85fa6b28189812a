// The factory of a built-in function: its name, its argument counts and its computation.
#pragma once

#include "expr/BuiltinFunctionNode.h"
#include "expr/FunctionCreator.h"

#include <cstdint>
#include <string>

namespace ExprEval {

// Minimum and maximum numbers of value and reference arguments; a maximum of
// FunctionNode::kNoLimit means no limit.
struct ArgumentCounts {
    std::int32_t minValues;
    std::int32_t maxValues;
    std::int32_t minReferences;
    std::int32_t maxReferences;
};

class BuiltinFunctionCreator final : public FunctionCreator {
public:
    BuiltinFunctionCreator(std::string name, ArgumentCounts counts, BuiltinFunctionNode::Compute compute);

    std::string GetName() const override { return m_name; }

    bool MakesArenaOnlyNodes() const override { return true; }

protected:
    std::unique_ptr<FunctionNode> DoCreate(ExpressionObject* expression) const override;

private:
    std::string m_name;
    ArgumentCounts m_counts;
    BuiltinFunctionNode::Compute m_compute;
};

}  // namespace ExprEval
