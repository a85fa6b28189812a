// Variable reads.
#include "expr/VariableNode.h"

#include "expr/Parser.h"

namespace ExprEval {

void VariableNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    if (start != end || parser.GetToken(start).GetType() != TokenType::Identifier) {
        RaiseSyntax(parser, start, end);
    }
    m_address = ResolveVariable(parser, start);
}

}  // namespace ExprEval
