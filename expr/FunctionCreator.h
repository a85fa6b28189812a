// Factory of one named function: makes the function's parse-tree node with its
// argument counts set. Users add their own factories to a FunctionList.
#pragma once

#include <memory>
#include <string>

namespace ExprEval {

class ExpressionObject;
class FunctionNode;

class FunctionCreator {
public:
    FunctionCreator() = default;
    virtual ~FunctionCreator();
    FunctionCreator(const FunctionCreator&) = delete;
    FunctionCreator& operator=(const FunctionCreator&) = delete;

    virtual std::string GetName() const = 0;
    // Makes the node and records this factory in it, so that the node can name itself
    // in error reports. The factory must outlive the node.
    std::unique_ptr<FunctionNode> Create(ExpressionObject* expression) const;

    // True when its nodes hold no memory but the arena's (see NodeArena): a tree made
    // only of such nodes is freed with its arena, without deleting node by node.
    virtual bool MakesArenaOnlyNodes() const { return false; }

protected:
    virtual std::unique_ptr<FunctionNode> DoCreate(ExpressionObject* expression) const = 0;
};

}  // namespace ExprEval
