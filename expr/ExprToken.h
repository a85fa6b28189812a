// One token of an expression text with the positions of its first and last character.
// An identifier's name views the text it was cut from, which must outlive the token.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ExprEval {

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

class ExprToken {
public:
    // A token without name or value: an operator, separator or parenthesis at position.
    ExprToken(TokenType type, std::int32_t position) : m_type(type), m_start(position), m_end(position) {}

    // An identifier naming the text name views. The tokenizer constructs tokens in place:
    // a token built aside and then copied is written in pieces and read back whole, which
    // stalls the copy.
    ExprToken(std::string_view name, std::int32_t start, std::int32_t end)
        : m_type(TokenType::Identifier), m_start(start), m_end(end), m_name(name.data()),
          m_nameSize(static_cast<std::int32_t>(name.size())) {}

    // A number with its value.
    ExprToken(double value, std::int32_t start, std::int32_t end)
        : m_type(TokenType::Number), m_start(start), m_end(end), m_value(value) {}

    TokenType GetType() const { return m_type; }

    // The identifier's text; empty for every other token.
    std::string_view GetName() const {
        return m_type == TokenType::Number ? std::string_view()
                                           : std::string_view(m_name, static_cast<std::size_t>(m_nameSize));
    }

    // The number's value; 0 for every other token.
    double GetValue() const { return m_type == TokenType::Number ? m_value : 0; }

    std::int32_t GetStart() const { return m_start; }

    std::int32_t GetEnd() const { return m_end; }

    // For a "(" the index of its matching ")", else -1. Kept in the token, which has
    // room for it, so that pairing parentheses needs no second array.
    std::int32_t GetMatch() const { return m_match; }

    void SetMatch(std::int32_t index) { m_match = index; }

private:
    // 32 bytes: the tokenizer writes one per token, and the parser indexes them.
    TokenType m_type;
    std::int32_t m_match = -1;
    std::int32_t m_start;
    std::int32_t m_end;

    // A number has no name, so its value shares the name's storage.
    union {
        const char* m_name = nullptr;
        double m_value;
    };

    std::int32_t m_nameSize = 0;
};

}  // namespace ExprEval
