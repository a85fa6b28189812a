// One token of an expression text with the positions of its first and last character.
#pragma once

#include <cstdint>
#include <string>

namespace ExprEval {

enum class TokenType : std::int32_t {
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

class ExprToken {
public:
    ExprToken(TokenType type, std::int32_t start, std::int32_t end);
    static ExprToken Identifier(std::string name, std::int32_t start, std::int32_t end);
    static ExprToken Number(double value, std::int32_t start, std::int32_t end);

    TokenType GetType() const { return m_type; }

    // The identifier's text; empty for every other token.
    const std::string& GetName() const { return m_name; }

    // The number's value; 0 for every other token.
    double GetValue() const { return m_value; }

    std::int32_t GetStart() const { return m_start; }

    std::int32_t GetEnd() const { return m_end; }

private:
    TokenType m_type;
    std::string m_name;
    double m_value = 0;
    std::int32_t m_start;
    std::int32_t m_end;
};

}  // namespace ExprEval
