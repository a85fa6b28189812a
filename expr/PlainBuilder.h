// Builds the tree of a plain program in one pass over its tokens, for the parser to try
// before its general region parsing. Plain means: statements "name = expression" or
// "expression" separated by ";", expressions of numbers, known variables, calls of
// built-in functions with value arguments, groups in parentheses and the binary
// operators + - * /. For such a program the tree is the one region parsing would build,
// node for node, at the same nesting depths; region parsing itself spends most of its
// time finding, region by region, what the plain grammar knows from the token order.
//
// Anything else (other operators, signs, assignments inside expressions, references,
// unknown names, user functions, wrong argument counts, any syntax error) makes Build
// answer null without touching the value list, and the region parser then builds the
// tree or raises the error exactly as it always does. Every step answers null rather
// than raising: an exception would cost more than parsing the program twice.
#pragma once

#include "expr/ExprToken.h"

#include <cstdint>
#include <memory>

namespace ExprEval {

class ExpressionObject;
class FunctionList;
class Node;
class Parser;
class ValueList;

class PlainBuilder {
public:
    // The parser (not owned) must hold the tokens of the text.
    PlainBuilder(const Parser& parser, ExpressionObject* expression);

    // The tree, or null when the program is not plain.
    std::unique_ptr<Node> Build();

private:
    // The tokens of one operand: a number, a name, a call or a group.
    struct Operand {
        std::int32_t start;
        std::int32_t end;
    };

    static constexpr std::int32_t kMaxOperands = 32;

    std::unique_ptr<Node> BuildProgram();
    std::unique_ptr<Node> BuildStatement(std::int32_t position, std::int32_t depth);
    std::unique_ptr<Node> BuildExpression(std::int32_t position, std::int32_t depth);
    std::unique_ptr<Node> BuildCompound(std::int32_t position, std::int32_t depth);
    std::unique_ptr<Node> BuildSum(const Operand* operands, const TokenType* operators, std::int32_t count,
                                   std::int32_t depth);
    std::unique_ptr<Node> BuildProduct(const Operand* operands, const TokenType* operators, std::int32_t count,
                                       std::int32_t depth);
    std::unique_ptr<Node> BuildOperand(const Operand& operand, std::int32_t depth);
    std::unique_ptr<Node> BuildCall(const Operand& operand, std::int32_t depth);
    bool IsLoneLeaf(std::int32_t position) const;
    std::unique_ptr<Node> BuildLeaf(std::int32_t index);
    std::unique_ptr<Node> BuildVariable(std::int32_t index);
    std::int32_t ArgumentCount(std::int32_t open, std::int32_t close) const;
    // The operand starting at position; false when none does.
    bool FindOperand(std::int32_t position, Operand& operand) const;
    TokenType TypeAt(std::int32_t index) const;
    static bool DepthAllowed(std::int32_t depth);

    const Parser& m_parser;
    ExpressionObject* m_expression;  // not owned
    ValueList* m_values = nullptr;   // not owned
    const FunctionList* m_functions = nullptr;  // not owned
    std::int32_t m_count = 0;
    // The token after the last expression built.
    std::int32_t m_position = 0;
    std::int32_t m_groupNesting = 0;
};

}  // namespace ExprEval
