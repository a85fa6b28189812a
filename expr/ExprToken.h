// One token of an expression text with the positions of its first and last character.
// A name or number is read from the text the token was cut from (see Parser::GetName
// and Parser::GetValue).
#pragma once

#include <cstdint>

namespace ExprEval {

// The parser tells kinds of token apart by ranges of these values (the parentheses,
// the operators a sign may follow, the tokens a scan skips): keep their order.
enum class TokenType : std::uint8_t {
    OpenParen = 1,
    CloseParen = 2,
    Assign = 3,
    Plus = 4,
    Minus = 5,
    Multiply = 6,
    Divide = 7,
    Power = 8,
    Ampersand = 9,
    Comma = 10,
    Semicolon = 11,
    Identifier = 12,
    Number = 13,
};

inline bool IsParenthesis(TokenType type) {
    return type <= TokenType::CloseParen;
}

class ExprToken {
public:
    ExprToken(TokenType type, std::int32_t start, std::int32_t end)
        : m_type(type), m_start(start), m_end(end) {}

    TokenType GetType() const { return m_type; }

    std::int32_t GetStart() const { return m_start; }

    std::int32_t GetEnd() const { return m_end; }

    // For a "(" the index of its matching ")", else -1. Kept in the token, which has
    // room for it, so that pairing parentheses needs no second array.
    std::int32_t GetMatch() const { return m_match; }

    void SetMatch(std::int32_t index) { m_match = index; }

private:
    // 16 bytes: the tokenizer writes one per token and the parser indexes them.
    TokenType m_type;
    std::int32_t m_match = -1;
    std::int32_t m_start;
    std::int32_t m_end;
};

}  // namespace ExprEval
