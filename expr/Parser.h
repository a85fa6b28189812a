// Turns an expression text into a tree of nodes for one ExpressionObject. It cuts the
// text into tokens, then parses a range of tokens by finding the operator of lowest
// precedence outside parentheses and handing the pieces to that operator's node, which
// calls back for its operands. Lives for one ExpressionObject::Parse call.
#pragma once

#include "expr/ExprToken.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ExprEval {

class ExpressionObject;
class Node;

class Parser {
public:
    // Operand nesting deeper than this raises SyntaxException. It bounds the stack that
    // parsing, evaluating and deleting a tree need; conversion programs nest a few
    // levels at most.
    static constexpr std::int32_t kMaxDepth = 200;

    // The expression (not owned) must not be null.
    explicit Parser(ExpressionObject* expression);
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    std::unique_ptr<Node> Parse(const std::string& text);

    // False once a node was made that may hold memory outside the arena: a function
    // node of a factory other than the built-in ones.
    bool MadeArenaOnlyNodes() const { return m_arenaOnly; }

    void Tokenize(const std::string& text);
    // Parses the tokens start to end inclusive.
    std::unique_ptr<Node> ParseRegion(std::int32_t start, std::int32_t end);
    // Parses one statement of a statement list, whose ";" are split off and whose
    // groups the list has found closed: the same as ParseRegion, but an assignment
    // shows in its first two tokens without a scan.
    std::unique_ptr<Node> ParseStatement(std::int32_t start, std::int32_t end);

    const ExprToken& GetToken(std::int32_t index) const { return m_tokens[index]; }

    // The identifier's name, viewing the parser's copy of the text; empty for every
    // other token.
    std::string_view GetName(std::int32_t index) const {
        const ExprToken& token = m_tokens[index];
        return token.GetType() == TokenType::Identifier
                   ? std::string_view(m_text.data() + token.GetStart(),
                                      static_cast<std::size_t>(token.GetEnd() - token.GetStart() + 1))
                   : std::string_view();
    }

    // The number's value; 0 for every other token.
    double GetValue(std::int32_t index) const;

    std::int32_t GetTokenCount() const { return m_tokenCount; }

    // The type of the token at index, from an array of types alone: the scans over
    // regions read nothing else of most tokens.
    TokenType TypeAt(std::int32_t index) const { return m_types[index]; }

    // The index of the ")" that closes the "(" at index; -1 for an unmatched "(" and
    // for every other token.
    std::int32_t GetMatchingParen(std::int32_t index) const { return GetToken(index).GetMatch(); }

    // The index of the ")" that closes the "(" at index within the tokens up to end.
    // Raises UnmatchedParenthesisException at a ")" without its "(" there, and at end
    // for a "(" that does not close by end.
    std::int32_t GroupEnd(std::int32_t index, std::int32_t end) const;

private:
    // What a region holds outside parentheses; indexes are -1 where absent.
    struct RegionScan {
        std::int32_t semicolons = 0;
        std::int32_t firstAssign = -1;
        std::int32_t lastBinarySign = -1;
        std::int32_t firstUnarySign = -1;
        std::int32_t lastProduct = -1;
        std::int32_t lastPower = -1;
        std::int32_t openParen = -1;
        std::int32_t closeParen = -1;
    };

    void CutTokens();
    void RaiseIfTooDeep(std::int32_t start, std::int32_t end) const;
    std::unique_ptr<Node> ParseOperators(std::int32_t start, std::int32_t end);
    [[noreturn]] static void RaiseUnknownToken(std::size_t position);
    void UnmatchRemainingOpens(std::int32_t lastOpen);
    RegionScan ScanRegion(std::int32_t start, std::int32_t end) const;
    std::int32_t StepOverGroup(std::int32_t index, std::int32_t end, RegionScan& scan) const;
    void NoteSignOrAssign(std::int32_t index, std::int32_t regionStart, RegionScan& scan) const;
    void NoteProductPowerOrSemicolon(std::int32_t index, RegionScan& scan) const;
    bool IsUnarySign(std::int32_t index, std::int32_t regionStart) const;
    std::unique_ptr<Node> ParseCall(std::int32_t start, std::int32_t end, std::int32_t closeParen);
    std::unique_ptr<Node> ParseSingle(std::int32_t start, std::int32_t end);
    std::unique_ptr<Node> BuildStatements(std::int32_t start, std::int32_t end, std::int32_t semicolons);
    template <typename T>
    std::unique_ptr<Node> Build(std::int32_t start, std::int32_t end, std::int32_t op);

    void AllocateTokens();

    ExpressionObject* m_expression;  // not owned
    // The text being parsed; names and numbers are read from it.
    std::string m_text;
    // Tokens are trivially copyable and are added in the tokenizer's inner loop, where a
    // library container's out-of-line add would cost as much as the token itself.
    std::unique_ptr<std::byte[]> m_tokenStorage;
    ExprToken* m_tokens = nullptr;
    TokenType* m_types = nullptr;
    std::int32_t m_tokenCount = 0;
    // The ";" outside parentheses, counted while cutting the tokens when every
    // parenthesis has its partner (else 0): the whole text is then a statement list
    // without a scan of it.
    std::int32_t m_outerSemicolons = 0;
    std::int32_t m_depth = 0;
    bool m_arenaOnly = true;
};

}  // namespace ExprEval
