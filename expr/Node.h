// Base of the parse-tree nodes. A node builds itself from a range of tokens, calling
// the parser back for its operands, and computes its value. Every node owns its
// operands.
#pragma once

#include <cstdint>

namespace ExprEval {

class ExprToken;
class ExpressionObject;
class Parser;

class Node {
public:
    // The expression (not owned) must not be null.
    explicit Node(ExpressionObject* expression);
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Runs the expression's abort test, then computes the value.
    double Evaluate();
    // Builds the node from the tokens start to end (inclusive); op is the index of
    // the token that made the parser choose this node.
    virtual void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) = 0;

protected:
    virtual double DoEvaluate() = 0;

    ExpressionObject& GetExpression() const { return *m_expression; }

    // The address of the named variable's value; a name not yet in the value list is
    // added with value 0. Raises NoValueListException without a value list.
    double* ResolveVariable(const ExprToken& name) const;
    // Raises SyntaxException spanning the tokens start to end.
    [[noreturn]] static void RaiseSyntax(const Parser& parser, std::int32_t start, std::int32_t end);

private:
    ExpressionObject* m_expression;  // not owned
};

}  // namespace ExprEval
