// A variable or constant read by name; the name is resolved to its address at parse time.
#pragma once

#include "expr/Node.h"

namespace ExprEval {

class VariableNode : public Node {
public:
    explicit VariableNode(ExpressionObject* expression) : Node(expression) {}

    // Requires a single identifier token; an unknown name is added with value 0.
    void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) override;

protected:
    double DoEvaluate() override { return *m_address; }

private:
    const double* m_address = nullptr;  // into the value list, not owned
};

}  // namespace ExprEval
