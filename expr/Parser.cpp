// Tokenizer and region parser of the expression language.
#include "expr/Parser.h"

#include "expr/AddNode.h"
#include "expr/AssignNode.h"
#include "expr/DivideNode.h"
#include "expr/EmptyExpressionException.h"
#include "expr/ExponentNode.h"
#include "expr/ExpressionObject.h"
#include "expr/FunctionList.h"
#include "expr/FunctionNode.h"
#include "expr/MultiNode.h"
#include "expr/MultiplyNode.h"
#include "expr/NegateNode.h"
#include "expr/NoFunctionListException.h"
#include "expr/NotFoundException.h"
#include "expr/NullPointerException.h"
#include "expr/RaiseAt.h"
#include "expr/ScanNumber.h"
#include "expr/SubtractNode.h"
#include "expr/SyntaxException.h"
#include "expr/UnknownTokenException.h"
#include "expr/UnmatchedParenthesisException.h"
#include "expr/ValueNode.h"
#include "expr/VariableNode.h"

#include <algorithm>
#include <limits>

namespace ExprEval {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

bool StartsIdentifier(char c) {
    return c == '_' || IsLetter(c);
}

bool ContinuesIdentifier(char c) {
    return StartsIdentifier(c) || IsDigit(c);
}

// The token type of a one-character token, or 0.
TokenType SingleCharacterToken(char c) {
    switch (c) {
    case '(':
        return TokenType::OpenParen;
    case ')':
        return TokenType::CloseParen;
    case '=':
        return TokenType::Assign;
    case '+':
        return TokenType::Plus;
    case '-':
        return TokenType::Minus;
    case '*':
        return TokenType::Multiply;
    case '/':
        return TokenType::Divide;
    case '^':
        return TokenType::Power;
    case '&':
        return TokenType::Ampersand;
    case ',':
        return TokenType::Comma;
    case ';':
        return TokenType::Semicolon;
    default:
        return TokenType{};
    }
}

std::int32_t ToPosition(std::size_t position) {
    return static_cast<std::int32_t>(position);
}

// Counts the nesting of ParseRegion calls for the lifetime of one call.
class DepthGuard {
public:
    explicit DepthGuard(std::int32_t& depth) : m_depth(depth) { ++m_depth; }

    ~DepthGuard() { --m_depth; }

    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    std::int32_t& m_depth;
};

}  // namespace

Parser::Parser(ExpressionObject* expression) : m_expression(expression) {
    if (expression == nullptr) {
        throw NullPointerException("Parser::Parser");
    }
}

std::unique_ptr<Node> Parser::Parse(const std::string& text) {
    Tokenize(text);
    if (m_tokens.empty()) {
        throw EmptyExpressionException();
    }
    return ParseRegion(0, ToPosition(m_tokens.size() - 1));
}

void Parser::Tokenize(const std::string& text) {
    m_tokens.clear();
    m_matchingParen.clear();
    if (text.empty()) {
        throw EmptyExpressionException();
    }
    // Positions are 32-bit; a longer text could not be reported.
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw SyntaxException();
    }
    // A text holds at most one token per character. Growing the array token by token
    // costs more than the rest of tokenizing a short program; a long text grows as usual.
    constexpr std::size_t kMaxReservedTokens = 4096;
    m_tokens.reserve(std::min(text.size(), kMaxReservedTokens));
    bool inComment = false;
    std::size_t position = 0;
    while (position < text.size()) {
        const char c = text[position];
        if (c == '\n' || c == '\r') {
            inComment = false;
        }
        if (inComment || c == '#') {
            inComment = true;
            ++position;
            continue;
        }
        AddToken(text, position);
    }
    MatchParentheses();
}

// Adds the token that starts at position (or skips a blank) and moves past it.
void Parser::AddToken(const std::string& text, std::size_t& position) {
    const char c = text[position];
    const std::size_t start = position;
    if (IsBlank(c)) {
        ++position;
        return;
    }
    if (const TokenType single = SingleCharacterToken(c); single != TokenType{}) {
        m_tokens.emplace_back(single, ToPosition(start), ToPosition(start));
        ++position;
        return;
    }
    if (IsDigit(c) || c == '.') {
        while (position < text.size() && IsDigit(text[position])) {
            ++position;
        }
        if (position < text.size() && text[position] == '.') {
            ++position;
            while (position < text.size() && IsDigit(text[position])) {
                ++position;
            }
        }
        const double value = ScanNumber(text.substr(start, position - start));
        m_tokens.push_back(ExprToken::Number(value, ToPosition(start), ToPosition(position - 1)));
        return;
    }
    if (StartsIdentifier(c)) {
        ++position;
        while (position < text.size()) {
            const bool dotThenName =
                text[position] == '.' && position + 1 < text.size() && StartsIdentifier(text[position + 1]);
            if (!ContinuesIdentifier(text[position]) && !dotThenName) {
                break;
            }
            ++position;
        }
        m_tokens.push_back(ExprToken::Identifier(text.substr(start, position - start), ToPosition(start),
                                                 ToPosition(position - 1)));
        return;
    }
    RaiseAt(UnknownTokenException(), ToPosition(start), ToPosition(start));
}

void Parser::MatchParentheses() {
    m_matchingParen.assign(m_tokens.size(), -1);
    std::vector<std::int32_t> open;
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        if (m_tokens[i].GetType() == TokenType::OpenParen) {
            open.push_back(ToPosition(i));
        } else if (m_tokens[i].GetType() == TokenType::CloseParen && !open.empty()) {
            m_matchingParen[static_cast<std::size_t>(open.back())] = ToPosition(i);
            open.pop_back();
        }
    }
}

template <typename T>
std::unique_ptr<Node> Parser::Build(std::int32_t start, std::int32_t end, std::int32_t op) {
    auto node = std::make_unique<T>(m_expression);
    node->Parse(*this, start, end, op);
    return node;
}

std::unique_ptr<Node> Parser::ParseRegion(std::int32_t start, std::int32_t end) {
    if (start > end) {
        throw SyntaxException();
    }
    DepthGuard guard(m_depth);
    if (m_depth > kMaxDepth) {
        RaiseAt(SyntaxException(), GetToken(start), GetToken(end));
    }
    for (;;) {
        if (start > end) {
            throw SyntaxException();
        }
        const RegionScan scan = ScanRegion(start, end);
        if (scan.hasSemicolon) {
            return Build<MultiNode>(start, end, 0);
        }
        if (scan.firstAssign >= 0) {
            return Build<AssignNode>(start, end, scan.firstAssign);
        }
        if (scan.lastBinarySign >= 0) {
            const std::int32_t op = scan.lastBinarySign;
            return TypeAt(op) == TokenType::Plus ? Build<AddNode>(start, end, op)
                                                 : Build<SubtractNode>(start, end, op);
        }
        if (scan.lastProduct >= 0) {
            const std::int32_t op = scan.lastProduct;
            return TypeAt(op) == TokenType::Multiply ? Build<MultiplyNode>(start, end, op)
                                                     : Build<DivideNode>(start, end, op);
        }
        if (TypeAt(start) == TokenType::Plus) {
            ++start;
            continue;
        }
        if (TypeAt(start) == TokenType::Minus) {
            return Build<NegateNode>(start, end, start);
        }
        if (scan.lastPower >= 0) {
            return Build<ExponentNode>(start, end, scan.lastPower);
        }
        if (scan.firstUnarySign >= 0) {
            RaiseAt(SyntaxException(), GetToken(scan.firstUnarySign), GetToken(scan.firstUnarySign));
        }
        if (TypeAt(start) == TokenType::OpenParen) {
            if (scan.closeParen == end && end - start >= 2) {
                ++start;
                --end;
                continue;
            }
            RaiseAt(SyntaxException(), GetToken(start), GetToken(scan.closeParen));
        }
        if (start < end && TypeAt(start + 1) == TokenType::OpenParen) {
            return ParseCall(start, end, scan.closeParen);
        }
        return ParseSingle(start, end);
    }
}

// Steps over parenthesised groups, so only the tokens at depth 0 are looked at.
Parser::RegionScan Parser::ScanRegion(std::int32_t start, std::int32_t end) const {
    RegionScan scan;
    for (std::int32_t i = start; i <= end; ++i) {
        switch (TypeAt(i)) {
        case TokenType::OpenParen: {
            const std::int32_t close = m_matchingParen[static_cast<std::size_t>(i)];
            if (close < 0 || close > end) {
                RaiseAt(UnmatchedParenthesisException(), GetToken(end), GetToken(end));
            }
            if (scan.openParen < 0) {
                scan.openParen = i;
                scan.closeParen = close;
            }
            i = close;
            break;
        }
        case TokenType::CloseParen:
            RaiseAt(UnmatchedParenthesisException(), GetToken(i), GetToken(i));
        case TokenType::Semicolon:
            scan.hasSemicolon = true;
            break;
        case TokenType::Assign:
            if (scan.firstAssign < 0) {
                scan.firstAssign = i;
            }
            break;
        case TokenType::Plus:
        case TokenType::Minus:
            if (!IsUnarySign(i, start)) {
                scan.lastBinarySign = i;
            } else if (scan.firstUnarySign < 0) {
                scan.firstUnarySign = i;
            }
            break;
        case TokenType::Multiply:
        case TokenType::Divide:
            scan.lastProduct = i;
            break;
        case TokenType::Power:
            scan.lastPower = i;
            break;
        default:
            break;
        }
    }
    return scan;
}

// A sign is unary at the start of its region or right after "=", a sign, "*", "/" or "^".
bool Parser::IsUnarySign(std::int32_t index, std::int32_t regionStart) const {
    if (index == regionStart) {
        return true;
    }
    const TokenType before = TypeAt(index - 1);
    return before >= TokenType::Assign && before <= TokenType::Power;
}

std::unique_ptr<Node> Parser::ParseCall(std::int32_t start, std::int32_t end, std::int32_t closeParen) {
    const ExprToken& name = GetToken(start);
    if (closeParen != end) {
        RaiseAt(SyntaxException(), GetToken(start + 1), GetToken(closeParen));
    }
    const FunctionList* functions = m_expression->GetFunctionList();
    if (functions == nullptr) {
        RaiseAt(NoFunctionListException(), name, name);
    }
    std::unique_ptr<FunctionNode> node = functions->Create(name.GetName(), m_expression);
    if (!node) {
        RaiseAt(NotFoundException(name.GetName()), name, name);
    }
    node->Parse(*this, start + 1, end, start + 1);
    return node;
}

std::unique_ptr<Node> Parser::ParseSingle(std::int32_t start, std::int32_t end) {
    if (start != end) {
        RaiseAt(SyntaxException(), GetToken(start), GetToken(end));
    }
    if (TypeAt(start) == TokenType::Identifier) {
        return Build<VariableNode>(start, end, start);
    }
    return Build<ValueNode>(start, end, start);
}

}  // namespace ExprEval
