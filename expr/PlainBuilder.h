// Builds the tree of a plain program in one pass over its text, cutting each token as
// it goes, for the parser to try before it tokenizes the text and parses it region by
// region. Plain means: statements "name = expression" or "expression" separated by
// ";", expressions of numbers, known variables, calls of built-in functions with value
// arguments, groups in parentheses and the binary operators + - * /. For such a
// program the tree is the one region parsing would build, node for node; region
// parsing itself spends most of its time finding, region by region, what the plain
// grammar knows from the order of the tokens.
//
// Anything else (other operators, signs, assignments inside expressions, references,
// unknown names, user functions, wrong argument counts, a statement of Parser::kMaxDepth
// tokens or more, any syntax or token error) makes Build answer null
// without touching the value list, and the parser then tokenizes the text and builds
// the tree or raises the error exactly as it always does. Every step answers null
// rather than raising: an exception would cost more than parsing the program twice.
#pragma once

#include "expr/ExprToken.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace ExprEval {

class ExpressionObject;
class FunctionList;
class Node;
class ValueList;

class PlainBuilder {
public:
    // What a character means to the tokens: for a one-character token its type, for
    // the first character of a name or number that token's type, else what the
    // character needs.
    enum class LexClass : std::uint8_t {
        Other = 0,  // no token of a plain program: the end of the text, or any other character
        Blank = 14,
        Identifier = static_cast<std::uint8_t>(TokenType::Identifier),
        Number = static_cast<std::uint8_t>(TokenType::Number),
        Comment = 15,
    };

    // The text must be followed in memory by NameIndex::kPadding nulls, and must stay
    // valid while Build runs.
    PlainBuilder(std::string_view text, ExpressionObject* expression);

    // The tree, or null when the program is not plain or no NodeArenaScope is open.
    std::unique_ptr<Node> Build();

private:
    // Each answers null when what it was to build is not plain. The nodes come from
    // the arena of the parse and are handed out as plain pointers until a node or the
    // finished tree owns them: the nodes of a program that turns out not to be plain
    // are left to the arena, which holds all their memory and frees it at once.
    Node* BuildStatements(Node* first);
    Node* BuildStatement();
    Node* BuildSum();
    Node* BuildOperand();
    Node* BuildGroup();
    Node* BuildCall(std::string_view name);
    Node* BuildVariable(std::string_view name);
    Node* Combine(TokenType type, Node* left, Node* right) const;

    // Gives the statement starting at the next token its tokens and cuts that token.
    void StartStatement();
    // Cuts the next token.
    void Advance();
    // The rest of a number, and its value.
    void AdvanceOverNumber();
    std::size_t SkipBlanks(std::size_t position) const;

    bool AtEnd() const { return m_type == TokenType{} && m_start == m_text.size() && m_tokensLeft >= 0; }

    std::string_view TokenText() const { return std::string_view(m_text.data() + m_start, m_next - m_start); }

    std::string_view m_text;
    ExpressionObject* m_expression;             // not owned
    ValueList* m_values = nullptr;              // not owned
    const FunctionList* m_functions = nullptr;  // not owned
    // The current token: its type (0 at the end of the text or at a character no plain
    // program has), where it starts, where the next one may start, and a number's
    // value.
    TokenType m_type{};
    std::size_t m_start = 0;
    std::size_t m_next = 0;
    double m_number = 0;
    // How many more tokens the current statement may take (see StartStatement).
    std::int32_t m_tokensLeft = 0;
};

}  // namespace ExprEval
