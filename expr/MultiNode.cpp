// Statement lists.
#include "expr/MultiNode.h"

#include "expr/Parser.h"
#include "expr/RaiseAt.h"
#include "expr/SyntaxException.h"

namespace ExprEval {

MultiNode::MultiNode(ExpressionObject* expression) : Node(expression) {}

MultiNode::~MultiNode() = default;

void MultiNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    if (start >= end) {
        throw SyntaxException();
    }
    std::int32_t statementStart = start;
    for (std::int32_t i = start; i <= end; ++i) {
        const TokenType type = parser.TypeAt(i);
        if (type == TokenType::Semicolon) {
            if (statementStart == i) {
                RaiseAt(SyntaxException(), parser.GetToken(i), parser.GetToken(i));
            }
            m_statements.Add(parser.ParseStatement(statementStart, i - 1));
            statementStart = i + 1;
        } else if (IsParenthesis(type)) {
            // A group holds no statement separator.
            i = parser.GroupEnd(i, end);
        }
    }
    if (statementStart <= end) {
        m_statements.Add(parser.ParseStatement(statementStart, end));
    }
}

double MultiNode::DoEvaluate() {
    double value = 0;
    for (const auto& statement : m_statements) {
        value = statement->Evaluate();
    }
    return value;
}

}  // namespace ExprEval
