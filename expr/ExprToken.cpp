// Tokens of the expression language.
#include "expr/ExprToken.h"

#include <utility>

namespace ExprEval {

ExprToken::ExprToken(TokenType type, std::int32_t start, std::int32_t end)
    : m_type(type), m_start(start), m_end(end) {}

ExprToken ExprToken::Identifier(std::string name, std::int32_t start, std::int32_t end) {
    ExprToken token(TokenType::Identifier, start, end);
    token.m_name = std::move(name);
    return token;
}

ExprToken ExprToken::Number(double value, std::int32_t start, std::int32_t end) {
    ExprToken token(TokenType::Number, start, end);
    token.m_value = value;
    return token;
}

}  // namespace ExprEval
