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
    // Room first, so that the two lists cannot fall out of step on a failed allocation.
    m_names.reserve(m_names.size() + 1);
    m_factories.reserve(m_factories.size() + 1);
    m_names.push_back(std::move(name));
    m_factories.push_back(std::move(factory));
}

void FunctionList::AddDefaultFunctions() {
    AddBuiltinFunctions(*this);
}

std::unique_ptr<FunctionNode> FunctionList::Create(const std::string& name,
                                                   ExpressionObject* expression) const {
    if (expression == nullptr) {
        throw NullPointerException("FunctionList::Create");
    }
    const FunctionCreator* factory = Find(name);
    return factory != nullptr ? factory->Create(expression) : nullptr;
}

const FunctionCreator* FunctionList::Find(const std::string& name) const {
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == name) {
            return m_factories[i].get();
        }
    }
    return nullptr;
}

}  // namespace ExprEval
