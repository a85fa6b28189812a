// Unary minus.
#include "expr/NegateNode.h"

#include "expr/Parser.h"

namespace ExprEval {

NegateNode::NegateNode(ExpressionObject* expression) : Node(expression) {}

NegateNode::~NegateNode() = default;

void NegateNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    if (!(op == start && op < end)) {
        RaiseSyntax(parser, start, end);
    }
    m_operand = parser.ParseRegion(op + 1, end);
}

double NegateNode::DoEvaluate() {
    return -m_operand->Evaluate();
}

}  // namespace ExprEval
