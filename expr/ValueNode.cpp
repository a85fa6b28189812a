// Number literals.
#include "expr/ValueNode.h"

#include "expr/Parser.h"

namespace ExprEval {

// A lone "&" or "," carries no number, so it is a syntax error rather than a value.
void ValueNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    if (start != end || parser.GetToken(start).GetType() != TokenType::Number) {
        RaiseSyntax(parser, start, end);
    }
    m_value = parser.GetValue(start);
}

}  // namespace ExprEval
