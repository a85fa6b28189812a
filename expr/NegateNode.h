// A leading "-": the negated operand.
#pragma once

#include "expr/Node.h"

#include <memory>

namespace ExprEval {

class NegateNode : public Node {
public:
    explicit NegateNode(ExpressionObject* expression);
    ~NegateNode() override;

    // Requires op = start < end; the operand is the tokens after the sign.
    void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) override;

protected:
    double DoEvaluate() override;

private:
    std::unique_ptr<Node> m_operand;
};

}  // namespace ExprEval
