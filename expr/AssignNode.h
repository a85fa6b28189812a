// "name = value": stores the value in the variable and yields it.
#pragma once

#include "expr/Node.h"

#include <memory>

namespace ExprEval {

class AssignNode : public Node {
public:
    explicit AssignNode(ExpressionObject* expression);
    ~AssignNode() override;

    // Requires exactly one identifier left of the "=" at op and something right of it.
    void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) override;

protected:
    double DoEvaluate() override;

private:
    double* m_address = nullptr;  // into the value list, not owned
    std::unique_ptr<Node> m_value;
};

}  // namespace ExprEval
