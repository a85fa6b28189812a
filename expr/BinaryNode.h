// Base of the nodes of a binary operator: a left and a right operand split at the
// operator token.
#pragma once

#include "expr/Node.h"

#include <memory>

namespace ExprEval {

class BinaryNode : public Node {
public:
    explicit BinaryNode(ExpressionObject* expression);
    ~BinaryNode() override;

    // Requires start < op < end; the operands are the tokens on either side of op.
    void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) override;

protected:
    double EvaluateLeft() { return m_left->Evaluate(); }

    double EvaluateRight() { return m_right->Evaluate(); }

private:
    std::unique_ptr<Node> m_left;
    std::unique_ptr<Node> m_right;
};

}  // namespace ExprEval
