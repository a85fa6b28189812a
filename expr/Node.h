// Base of the parse-tree nodes. A node builds itself from a range of tokens, calling
// the parser back for its operands, and computes its value. Every node owns its
// operands. Nodes made while an expression parses take their memory from its arena
// (see NodeArena), others from the heap.
#pragma once

#include "expr/ExpressionObject.h"
#include "expr/NodeArena.h"

#include <cstddef>
#include <cstdint>
#include <new>

namespace ExprEval {

class Parser;

class Node {
public:
    // The expression (not owned) must not be null.
    // Defined here: parsing makes several hundred nodes.
    explicit Node(ExpressionObject* expression) : m_expression(expression) {
        if (expression == nullptr) {
            RaiseNullExpression();
        }
    }

    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Defined here: parsing makes several hundred nodes.
    static void* operator new(std::size_t size) { return NodeArena::AllocateNode(size); }

    static void operator delete(void* node) { NodeArena::FreeNode(node); }

    // Over-aligned nodes come from the heap.
    static void* operator new(std::size_t size, std::align_val_t alignment);
    static void operator delete(void* node, std::align_val_t alignment);

    // Runs the expression's abort test, then computes the value. Defined here because
    // it runs for every node of every evaluation.
    double Evaluate() {
        m_expression->TestAbort(false);
        return DoEvaluate();
    }

    // Builds the node from the tokens start to end (inclusive); op is the index of
    // the token that made the parser choose this node.
    virtual void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) = 0;

protected:
    virtual double DoEvaluate() = 0;

    ExpressionObject& GetExpression() const { return *m_expression; }

    // The address of the value of the variable the identifier token at index names; a
    // name not yet in the value list is added with value 0. Raises
    // NoValueListException without a value list.
    double* ResolveVariable(const Parser& parser, std::int32_t index) const;
    // Raises SyntaxException spanning the tokens start to end.
    [[noreturn]] static void RaiseSyntax(const Parser& parser, std::int32_t start, std::int32_t end);

private:
    [[noreturn]] static void RaiseNullExpression();

    ExpressionObject* m_expression;  // not owned
};

}  // namespace ExprEval
