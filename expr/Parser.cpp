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

#include <array>
#include <limits>
#include <string_view>

namespace ExprEval {

namespace {

// What a character can start; one table lookup per character instead of a chain of
// comparisons.
enum class CharKind : std::uint8_t {
    Unknown,
    Blank,
    Comment,
    Single,
    Digit,
    Dot,
    Letter,
};

constexpr std::array<CharKind, 256> MakeCharKinds() {
    std::array<CharKind, 256> kinds{};
    for (const char c : {'\t', '\n', '\r', ' '}) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Blank;
    }
    for (const char c : {'(', ')', '=', '+', '-', '*', '/', '^', '&', ',', ';'}) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Single;
    }
    for (char c = '0'; c <= '9'; ++c) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Digit;
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Letter;
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Letter;
    }
    kinds[static_cast<unsigned char>('_')] = CharKind::Letter;
    kinds[static_cast<unsigned char>('.')] = CharKind::Dot;
    kinds[static_cast<unsigned char>('#')] = CharKind::Comment;
    return kinds;
}

constexpr std::array<CharKind, 256> kCharKinds = MakeCharKinds();

CharKind KindOf(char c) {
    return kCharKinds[static_cast<unsigned char>(c)];
}

bool IsDigit(char c) {
    return KindOf(c) == CharKind::Digit;
}

bool ContinuesIdentifier(char c) {
    const CharKind kind = KindOf(c);
    return kind == CharKind::Letter || kind == CharKind::Digit;
}

// The token type of a one-character token.
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
    default:
        return TokenType::Semicolon;
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
    m_openParens.clear();
    if (text.empty()) {
        throw EmptyExpressionException();
    }
    // Positions are 32-bit; a longer text could not be reported.
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw SyntaxException();
    }
    // The tokens view the names in this copy, so they stay valid however long the
    // caller keeps the text.
    m_text = text;
    // Programs average more than two characters per token (names, numbers, blanks);
    // one allocation then holds all tokens, and a denser text grows as usual.
    m_tokens.reserve(m_text.size() / 2 + 1);
    std::size_t position = 0;
    while (position < m_text.size()) {
        position = AddToken(position);
    }
    m_matchingParen.resize(m_tokens.size(), -1);
}

// Adds the token that starts at position (or skips a blank or comment) and returns
// the position after it.
std::size_t Parser::AddToken(std::size_t position) {
    const char c = m_text[position];
    switch (KindOf(c)) {
    case CharKind::Blank:
        return position + 1;
    case CharKind::Comment:
        return SkipComment(position);
    case CharKind::Single:
        AddSingle(SingleCharacterToken(c), position);
        return position + 1;
    case CharKind::Digit:
    case CharKind::Dot:
        return AddNumber(position);
    case CharKind::Letter:
        return AddIdentifier(position);
    default:
        RaiseAt(UnknownTokenException(), ToPosition(position), ToPosition(position));
    }
}

// Pairs each ")" with the latest unpaired "(" on the way, so that no later pass over
// the tokens is needed.
void Parser::AddSingle(TokenType type, std::size_t position) {
    const std::int32_t index = ToPosition(m_tokens.size());
    m_tokens.emplace_back(type, ToPosition(position), ToPosition(position));
    if (type == TokenType::OpenParen) {
        m_openParens.push_back(index);
    } else if (type == TokenType::CloseParen && !m_openParens.empty()) {
        const auto open = static_cast<std::size_t>(m_openParens.back());
        m_openParens.pop_back();
        if (m_matchingParen.size() <= open) {
            m_matchingParen.resize(open + 1, -1);
        }
        m_matchingParen[open] = index;
    }
}

// A comment runs to the end of its line; the line break itself is a blank.
std::size_t Parser::SkipComment(std::size_t position) const {
    const std::size_t lineEnd = m_text.find_first_of("\n\r", position);
    return lineEnd == std::string::npos ? m_text.size() : lineEnd;
}

std::size_t Parser::AddNumber(std::size_t start) {
    // Whole numbers of up to this many digits are exact as doubles; they are counted
    // here, everything else goes through ScanNumber.
    constexpr std::size_t kMaxExactDigits = 15;
    const std::size_t size = m_text.size();
    std::size_t position = start;
    std::uint64_t whole = 0;
    while (position < size && IsDigit(m_text[position])) {
        whole = whole * 10 + static_cast<std::uint64_t>(m_text[position] - '0');
        ++position;
    }
    double value = static_cast<double>(whole);
    const bool exact = position - start <= kMaxExactDigits;
    if (position < size && m_text[position] == '.') {
        ++position;
        while (position < size && IsDigit(m_text[position])) {
            ++position;
        }
    } else if (exact) {
        m_tokens.emplace_back(TokenType::Number, ToPosition(start), ToPosition(position - 1),
                              std::string_view(), value);
        return position;
    }
    value = ScanNumber(std::string_view(m_text).substr(start, position - start));
    m_tokens.emplace_back(TokenType::Number, ToPosition(start), ToPosition(position - 1), std::string_view(),
                          value);
    return position;
}

// Letters, digits and "_", and a "." where a name continues after it.
std::size_t Parser::AddIdentifier(std::size_t start) {
    const std::size_t size = m_text.size();
    std::size_t position = start + 1;
    while (position < size) {
        if (!ContinuesIdentifier(m_text[position])) {
            const bool dotThenName = m_text[position] == '.' && position + 1 < size &&
                                     KindOf(m_text[position + 1]) == CharKind::Letter;
            if (!dotThenName) {
                break;
            }
        }
        ++position;
    }
    m_tokens.emplace_back(TokenType::Identifier, ToPosition(start), ToPosition(position - 1),
                          std::string_view(m_text).substr(start, position - start));
    return position;
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
    // Most regions are a lone name or number, or one whole call: what the scan below
    // would decide for them is plain without it.
    if (start == end) {
        if (TypeAt(start) == TokenType::Identifier) {
            return Build<VariableNode>(start, end, start);
        }
        if (TypeAt(start) == TokenType::Number) {
            return Build<ValueNode>(start, end, start);
        }
    } else if (TypeAt(start) == TokenType::Identifier && TypeAt(start + 1) == TokenType::OpenParen &&
               GetMatchingParen(start + 1) == end) {
        return ParseCall(start, end, end);
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
            const std::int32_t close = GetMatchingParen(i);
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
        RaiseAt(NotFoundException(std::string(name.GetName())), name, name);
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
