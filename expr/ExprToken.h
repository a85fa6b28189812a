// One token of an expression text with the positions of its first and last character.
// An identifier's name views the text it was cut from, which must outlive the token.
#pragma once

#include <cstdint>
#include <string_view>

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
    // The name is for an identifier, the value for a number. Defined here: the tokenizer
    // makes one per token, and a call each would cost more than the construction.
    ExprToken(TokenType type,
              std::int32_t start,
              std::int32_t end,
              std::string_view name = {},
              double value = 0)
        : m_type(type), m_name(name), m_value(value), m_start(start), m_end(end) {}

    static ExprToken Identifier(std::string_view name, std::int32_t start, std::int32_t end) {
        return ExprToken(TokenType::Identifier, start, end, name);
    }

    static ExprToken Number(double value, std::int32_t start, std::int32_t end) {
        return ExprToken(TokenType::Number, start, end, {}, value);
    }

    TokenType GetType() const { return m_type; }

    // The identifier's text; empty for every other token.
    std::string_view GetName() const { return m_name; }

    // The number's value; 0 for every other token.
    double GetValue() const { return m_value; }

    std::int32_t GetStart() const { return m_start; }

    std::int32_t GetEnd() const { return m_end; }

private:
    TokenType m_type;
    std::string_view m_name;
    double m_value;
    std::int32_t m_start;
    std::int32_t m_end;
};

}  // namespace ExprEval
