// A list of ';'-separated statements, evaluated in order; its value is the last one's.
#pragma once

#include "expr/Node.h"
#include "expr/NodeList.h"

#include <cstddef>
#include <memory>

namespace ExprEval {

class MultiNode : public Node {
public:
    explicit MultiNode(ExpressionObject* expression);
    ~MultiNode() override;

    // Empty statements raise SyntaxException, except after a trailing ";".
    void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) override;

    // Room for count statements in one allocation, before Parse; without it the array
    // grows as statements come.
    void ReserveStatements(std::size_t count) { m_statements.Reserve(count); }

protected:
    double DoEvaluate() override;

private:
    NodeList<std::unique_ptr<Node>> m_statements;
};

}  // namespace ExprEval
