// Statement lists.
#include "expr/MultiNode.h"

#include "expr/Parser.h"
#include "expr/RaiseAt.h"
#include "expr/SyntaxException.h"
#include "expr/UnmatchedParenthesisException.h"

namespace ExprEval {

MultiNode::MultiNode(ExpressionObject* expression) : Node(expression) {}

MultiNode::~MultiNode() = default;

void MultiNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    if (start >= end) {
        throw SyntaxException();
    }
    std::int32_t depth = 0;
    std::int32_t statementStart = start;
    for (std::int32_t i = start; i <= end; ++i) {
        const TokenType type = parser.TypeAt(i);
        if (type == TokenType::OpenParen) {
            // A group closed within the list holds no statement separator.
            const std::int32_t close = parser.GetMatchingParen(i);
            if (close >= 0 && close <= end) {
                i = close;
            } else {
                ++depth;
            }
        } else if (type == TokenType::CloseParen && --depth < 0) {
            RaiseAt(UnmatchedParenthesisException(), parser.GetToken(i), parser.GetToken(i));
        } else if (type == TokenType::Semicolon && depth == 0) {
            if (statementStart == i) {
                RaiseAt(SyntaxException(), parser.GetToken(i), parser.GetToken(i));
            }
            m_statements.Add(parser.ParseRegion(statementStart, i - 1));
            statementStart = i + 1;
        }
    }
    if (statementStart <= end) {
        m_statements.Add(parser.ParseRegion(statementStart, end));
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
