// Assignment to a variable.
#include "expr/AssignNode.h"

#include "expr/ConstantAssignException.h"
#include "expr/ExpressionObject.h"
#include "expr/NoValueListException.h"
#include "expr/Parser.h"
#include "expr/RaiseAt.h"
#include "expr/ValueList.h"
#include "expr/ValueListItem.h"

namespace ExprEval {

AssignNode::AssignNode(ExpressionObject* expression) : Node(expression) {}

AssignNode::~AssignNode() = default;

void AssignNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    // The target must be a name: "3 = 4" would otherwise assign to a variable with
    // an empty name.
    if (!(op == start + 1 && op < end) || parser.GetToken(start).GetType() != TokenType::Identifier) {
        RaiseSyntax(parser, start, end);
    }
    const ExprToken& name = parser.GetToken(start);
    const ValueList* list = GetExpression().GetValueList();
    if (list == nullptr) {
        RaiseAt(NoValueListException(), name, name);
    }
    ValueListItem* item = list->Find(parser.GetName(start));
    if (item != nullptr && item->IsConstant()) {
        RaiseAt(ConstantAssignException(std::string(parser.GetName(start))), name, parser.GetToken(op));
    }
    m_address = item != nullptr ? item->GetAddress() : ResolveVariable(parser, start);
    m_value = parser.ParseRegion(op + 1, end);
}

double AssignNode::DoEvaluate() {
    const double value = m_value->Evaluate();
    *m_address = value;
    return value;
}

}  // namespace ExprEval
