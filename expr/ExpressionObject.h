// One compiled expression: parses a text of ';'-separated statements once into a tree
// of nodes, then evaluates it as often as needed, reading and writing the variables of
// its value list in place.
#pragma once

#include "expr/NodeArena.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ExprEval {

class FunctionList;
class Node;
class ValueList;

class ExpressionObject {
public:
    static constexpr std::int32_t kDefaultAbortInterval = 200000;

    ExpressionObject();
    // Deletes the tree only; the lists belong to the user.
    virtual ~ExpressionObject();
    ExpressionObject(const ExpressionObject&) = delete;
    ExpressionObject& operator=(const ExpressionObject&) = delete;

    // Not owned. Both lists must outlive every parse and evaluation: the tree holds
    // addresses into the value list and pointers to the function factories.
    void SetValueList(ValueList* list) { m_valueList = list; }

    ValueList* GetValueList() const { return m_valueList; }

    void SetFunctionList(FunctionList* list) { m_functionList = list; }

    FunctionList* GetFunctionList() const { return m_functionList; }

    // Replaces the tree. On failure the expression is left empty and the error
    // propagates; variables that parsing added before the failure stay in the list.
    void Parse(const std::string& text);
    void Clear();
    // Raises EmptyExpressionException when nothing is parsed.
    double Evaluate();

    // Called with force false before every node evaluation; asks DoTestAbort on every
    // (interval + 1)-th call, or at once with force true. Raises AbortException when
    // DoTestAbort answers true.
    void TestAbort(bool force) {
        // Defined here: it runs before every node evaluation and mostly only counts.
        // "> 0" rather than "!= 0": a negative interval then asks every time instead of
        // counting down through the whole integer range.
        if (!force && m_abortCountdown > 0) {
            --m_abortCountdown;
            return;
        }
        AskAbort(force);
    }

    void SetAbortInterval(std::int32_t interval);

protected:
    // Override to stop long evaluations; the default never aborts.
    virtual bool DoTestAbort();

private:
    void AskAbort(bool force);

    ValueList* m_valueList = nullptr;        // not owned
    FunctionList* m_functionList = nullptr;  // not owned
    // Holds the tree's nodes, so it is declared before the tree and outlives it.
    NodeArena m_arena;
    std::unique_ptr<Node> m_tree;
    // The tree's nodes hold nothing but arena memory (see Parser::MadeArenaOnlyNodes).
    bool m_arenaOnlyTree = false;
    std::int32_t m_abortCountdown = kDefaultAbortInterval;
    std::int32_t m_abortInterval = kDefaultAbortInterval;
};

}  // namespace ExprEval
