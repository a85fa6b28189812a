// Shared parsing of the binary operator nodes.
#include "expr/BinaryNode.h"

#include "expr/Parser.h"

namespace ExprEval {

BinaryNode::BinaryNode(ExpressionObject* expression) : Node(expression) {}

BinaryNode::~BinaryNode() = default;

void BinaryNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    if (!(start < op && op < end)) {
        RaiseSyntax(parser, start, end);
    }
    m_left = parser.ParseRegion(start, op - 1);
    m_right = parser.ParseRegion(op + 1, end);
}

}  // namespace ExprEval
