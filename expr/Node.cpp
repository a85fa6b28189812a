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
#include <string_view>

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

double* Node::ResolveVariable(const Parser& parser, std::int32_t index) const {
    const ExprToken& token = parser.GetToken(index);
    ValueList* list = m_expression->GetValueList();
    if (list == nullptr) {
        RaiseAt(NoValueListException(), token, token);
    }
    const std::string_view name = parser.GetName(index);
    double* address = list->GetAddress(name);
    if (address == nullptr) {
        list->Add(std::string(name), 0, false);
        address = list->GetAddress(name);
    }
    if (address == nullptr) {
        RaiseAt(NotFoundException(std::string(name)), token, token);
    }
    return address;
}

void Node::RaiseSyntax(const Parser& parser, std::int32_t start, std::int32_t end) {
    RaiseAt(SyntaxException(), parser.GetToken(start), parser.GetToken(end));
}

}  // namespace ExprEval
