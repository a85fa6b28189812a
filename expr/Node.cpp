// Parse-tree node base: evaluation with the abort test and variable resolution.
#include "expr/Node.h"

#include "expr/ExpressionObject.h"
#include "expr/NoValueListException.h"
#include "expr/NodeArena.h"
#include "expr/NotFoundException.h"
#include "expr/NullPointerException.h"
#include "expr/Parser.h"
#include "expr/RaiseAt.h"
#include "expr/SyntaxException.h"
#include "expr/ValueList.h"

#include <string>

namespace ExprEval {

void Node::RaiseNullExpression() {
    throw NullPointerException("Node::Node");
}

Node::~Node() = default;

void* Node::operator new(std::size_t size, std::align_val_t alignment) {
    return ::operator new(size, alignment);
}

void Node::operator delete(void* node, std::align_val_t alignment) {
    ::operator delete(node, alignment);
}

double* Node::ResolveVariable(const ExprToken& name) const {
    ValueList* list = m_expression->GetValueList();
    if (list == nullptr) {
        RaiseAt(NoValueListException(), name, name);
    }
    double* address = list->GetAddress(name.GetName());
    if (address == nullptr) {
        list->Add(std::string(name.GetName()), 0, false);
        address = list->GetAddress(name.GetName());
    }
    if (address == nullptr) {
        RaiseAt(NotFoundException(std::string(name.GetName())), name, name);
    }
    return address;
}

void Node::RaiseSyntax(const Parser& parser, std::int32_t start, std::int32_t end) {
    RaiseAt(SyntaxException(), parser.GetToken(start), parser.GetToken(end));
}

}  // namespace ExprEval
