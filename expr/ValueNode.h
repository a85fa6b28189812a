// A number written in the expression.
#pragma once

#include "expr/Node.h"

namespace ExprEval {

class ValueNode : public Node {
public:
    explicit ValueNode(ExpressionObject* expression) : Node(expression) {}

    // Requires a single number token.
    void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) override;

protected:
    double DoEvaluate() override { return m_value; }

private:
    double m_value = 0;
};

}  // namespace ExprEval
