// Function factories known to an expression.
#include "expr/FunctionList.h"

#include "expr/AlreadyExistsException.h"
#include "expr/BuiltinFunctions.h"
#include "expr/FunctionCreator.h"
#include "expr/FunctionNode.h"
#include "expr/NullPointerException.h"

namespace ExprEval {

FunctionList::FunctionList() = default;

FunctionList::~FunctionList() = default;

void FunctionList::Add(std::unique_ptr<FunctionCreator> factory) {
    if (!factory) {
        throw NullPointerException("FunctionList::Add");
    }
    std::string name = factory->GetName();
    if (Find(name) != nullptr) {
        throw AlreadyExistsException(name);
    }
    // Room first, so that the lists cannot fall out of step on a failed allocation.
    m_factories.reserve(m_factories.size() + 1);
    m_names.Add(name);
    m_factories.push_back(std::move(factory));
}

void FunctionList::AddDefaultFunctions() {
    AddBuiltinFunctions(*this);
}

std::unique_ptr<FunctionNode> FunctionList::Create(std::string_view name,
                                                   ExpressionObject* expression) const {
    if (expression == nullptr) {
        throw NullPointerException("FunctionList::Create");
    }
    const FunctionCreator* factory = Find(name);
    return factory != nullptr ? factory->Create(expression) : nullptr;
}

const FunctionCreator* FunctionList::Find(std::string_view name) const {
    const std::int32_t position = m_names.Find(name);
    return position >= 0 ? m_factories[static_cast<std::size_t>(position)].get() : nullptr;
}

}  // namespace ExprEval
