// The named functions an expression may call, each as a factory the list owns.
#pragma once

#include "expr/NameIndex.h"

#include <memory>
#include <string_view>
#include <vector>

namespace ExprEval {

class ExpressionObject;
class FunctionCreator;
class FunctionNode;

class FunctionList {
public:
    FunctionList();
    ~FunctionList();
    FunctionList(const FunctionList&) = delete;
    FunctionList& operator=(const FunctionList&) = delete;

    // Takes ownership. A null factory raises NullPointerException, a name already in
    // the list AlreadyExistsException (the factory is then deleted, the list unchanged).
    void Add(std::unique_ptr<FunctionCreator> factory);
    // Adds the 42 built-in functions, "abs" to "not".
    void AddDefaultFunctions();
    // The node of the first factory with exactly this name; null when there is none.
    std::unique_ptr<FunctionNode> Create(std::string_view name, ExpressionObject* expression) const;
    // The factory with exactly this name, or null.
    const FunctionCreator* Find(std::string_view name) const;

private:
    // Each factory's name, taken once when it is added: lookups run on every call
    // the parser meets, and GetName returns a new string each time.
    NameIndex m_names;
    std::vector<std::unique_ptr<FunctionCreator>> m_factories;
};

}  // namespace ExprEval
