// Parse-tree node base: evaluation with the abort test and variable resolution.
#include "expr/Node.h"

#include "expr/ExpressionObject.h"
#include "expr/NoValueListException.h"
#include "expr/NotFoundException.h"
#include "expr/NullPointerException.h"
#include "expr/Parser.h"
#include "expr/RaiseAt.h"
#include "expr/SyntaxException.h"
#include "expr/ValueList.h"

namespace ExprEval {

Node::Node(ExpressionObject* expression) : m_expression(expression) {
    if (expression == nullptr) {
        throw NullPointerException("Node::Node");
    }
}

Node::~Node() = default;

double Node::Evaluate() {
    m_expression->TestAbort(false);
    return DoEvaluate();
}

double* Node::ResolveVariable(const ExprToken& name) const {
    ValueList* list = m_expression->GetValueList();
    if (list == nullptr) {
        RaiseAt(NoValueListException(), name, name);
    }
    double* address = list->GetAddress(name.GetName());
    if (address == nullptr) {
        list->Add(name.GetName(), 0, false);
        address = list->GetAddress(name.GetName());
    }
    if (address == nullptr) {
        RaiseAt(NotFoundException(name.GetName()), name, name);
    }
    return address;
}

void Node::RaiseSyntax(const Parser& parser, std::int32_t start, std::int32_t end) {
    RaiseAt(SyntaxException(), parser.GetToken(start), parser.GetToken(end));
}

}  // namespace ExprEval
