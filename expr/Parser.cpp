// Tokenizer and region parser of the expression language.
#include "expr/Parser.h"

#include "expr/AddNode.h"
#include "expr/AssignNode.h"
#include "expr/DivideNode.h"
#include "expr/EmptyExpressionException.h"
#include "expr/ExponentNode.h"
#include "expr/ExpressionObject.h"
#include "expr/FunctionCreator.h"
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
#include "expr/TextScan.h"
#include "expr/UnknownTokenException.h"
#include "expr/UnmatchedParenthesisException.h"
#include "expr/ValueNode.h"
#include "expr/VariableNode.h"

#include <limits>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>

namespace ExprEval {

namespace {

using TextScan::KindOf;

// Pairs the ")" at index close with the latest unpaired "(", whose match field holds
// the unpaired one before it.
void PairClose(ExprToken* tokens, std::int32_t close, std::int32_t& lastOpen) {
    if (lastOpen < 0) {
        return;
    }
    ExprToken& open = tokens[lastOpen];
    lastOpen = open.GetMatch();
    open.SetMatch(close);
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
    if (m_tokenCount == 0) {
        throw EmptyExpressionException();
    }
    // A conversion program is a list of statements: when the tokens show that the scan
    // of the whole text could only find its ";", it is skipped.
    if (m_outerSemicolons > 0) {
        DepthGuard guard(m_depth);
        return BuildStatements(0, m_tokenCount - 1, m_outerSemicolons);
    }
    return ParseRegion(0, m_tokenCount - 1);
}

void Parser::Tokenize(const std::string& text) {
    m_tokenCount = 0;
    m_outerSemicolons = 0;
    if (text.empty()) {
        throw EmptyExpressionException();
    }
    // Positions are 32-bit; a longer text could not be reported.
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw SyntaxException();
    }
    // Names and numbers are read from this copy, so they stay valid however long the
    // caller keeps the text.
    m_text = text;
    AllocateTokens();
    CutTokens();
}

// Every token takes at least one character, so the text's length bounds the count and
// adding a token needs no test for room. Left uninitialised: each token is constructed
// where it is added, and what is never written is never touched.
void Parser::AllocateTokens() {
    static_assert(std::is_trivially_copyable_v<ExprToken> && std::is_trivially_destructible_v<ExprToken>);
    const std::size_t capacity = m_text.size();
    // The tokens, then their types.
    m_tokenStorage.reset(new std::byte[capacity * (sizeof(ExprToken) + sizeof(TokenType))]);
    m_tokens = reinterpret_cast<ExprToken*>(m_tokenStorage.get());
    m_types = reinterpret_cast<TokenType*>(m_tokenStorage.get() + capacity * sizeof(ExprToken));
}

// One loop over the characters with every token added inline: a call per token would
// cost about as much as adding it. The count and the latest unmatched "(" are kept in
// locals, which the stores into the tokens cannot be taken to change. Each ")" is
// paired with the latest unpaired "(" on the way, so that no later pass over the
// tokens is needed; until then each unpaired "(" keeps the index of the one before it
// in its match field.
void Parser::CutTokens() {
    const std::size_t size = m_text.size();
    const char* const text = m_text.c_str();
    ExprToken* const tokens = m_tokens;
    TokenType* const types = m_types;
    std::int32_t count = 0;
    std::int32_t lastOpen = -1;
    std::int32_t outerSemicolons = 0;
    bool paired = true;
    const auto add = [&](TokenType type, std::size_t first, std::size_t last) -> ExprToken& {
        ExprToken* token = ::new (tokens + count) ExprToken(type, ToPosition(first), ToPosition(last));
        types[count] = type;
        ++count;
        return *token;
    };
    std::size_t position = 0;
    for (;;) {
        // Blanks are skipped here rather than through the tests below: most tokens are
        // followed by one.
        while (KindOf(text[position]) == CharKind::Blank) {
            ++position;
        }
        const char c = text[position];
        const TokenType type = TextScan::TokenTypeOf(c);
        // Names, numbers and then the one-character tokens, in order of frequency:
        // tests that mostly go one way cost less than a jump through a table per token.
        if (type == TokenType::Identifier) {
            const std::size_t end = TextScan::IdentifierEnd(text, position);
            add(type, position, end - 1);
            position = end;
        } else if (type == TokenType::Number) {
            const std::size_t end = TextScan::NumberEnd(text, position);
            add(type, position, end - 1);
            position = end;
        } else if (type != TokenType{}) {
            ExprToken& token = add(type, position, position);
            if (type == TokenType::OpenParen) {
                token.SetMatch(lastOpen);
                lastOpen = count - 1;
            } else if (type == TokenType::CloseParen) {
                paired = paired && lastOpen >= 0;
                PairClose(tokens, count - 1, lastOpen);
            } else if (type == TokenType::Semicolon && lastOpen < 0) {
                ++outerSemicolons;
            }
            ++position;
        } else if (KindOf(c) == CharKind::Comment) {
            position = TextScan::CommentEnd(std::string_view(text, size), position);
        } else if (c != '\0' || position < size) {
            // The null after the text ends it without a test of the position for every
            // token; one within the text is no token.
            RaiseUnknownToken(position);
        } else {
            m_tokenCount = count;
            m_outerSemicolons = paired && lastOpen < 0 ? outerSemicolons : 0;
            UnmatchRemainingOpens(lastOpen);
            return;
        }
    }
}

void Parser::RaiseUnknownToken(std::size_t position) {
    RaiseAt(UnknownTokenException(), ToPosition(position), ToPosition(position));
}

// A "(" left without its ")" has no match.
void Parser::UnmatchRemainingOpens(std::int32_t lastOpen) {
    while (lastOpen >= 0) {
        ExprToken& open = m_tokens[lastOpen];
        lastOpen = open.GetMatch();
        open.SetMatch(-1);
    }
}

// Read where the number is used rather than while tokenizing: each number of a program
// is used once, and the tokens stay small.
double Parser::GetValue(std::int32_t index) const {
    const ExprToken& token = m_tokens[index];
    if (token.GetType() != TokenType::Number) {
        return 0;
    }
    return ScanNumber(std::string_view(m_text.data() + token.GetStart(),
                                       static_cast<std::size_t>(token.GetEnd() - token.GetStart() + 1)));
}

template <typename T>
std::unique_ptr<Node> Parser::Build(std::int32_t start, std::int32_t end, std::int32_t op) {
    auto node = std::make_unique<T>(m_expression);
    node->Parse(*this, start, end, op);
    return node;
}

// The scan has counted the ";" outside groups already: one more than that bounds the
// statements, so their array needs one allocation.
std::unique_ptr<Node> Parser::BuildStatements(std::int32_t start, std::int32_t end, std::int32_t semicolons) {
    auto node = std::make_unique<MultiNode>(m_expression);
    node->ReserveStatements(static_cast<std::size_t>(semicolons) + 1);
    node->Parse(*this, start, end, 0);
    return node;
}

std::unique_ptr<Node> Parser::ParseRegion(std::int32_t start, std::int32_t end) {
    if (start > end) {
        throw SyntaxException();
    }
    DepthGuard guard(m_depth);
    RaiseIfTooDeep(start, end);
    // Most regions are a lone name or number, or one whole call: what the scan would
    // decide for them is clear without it.
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
    return ParseOperators(start, end);
}

// The scan of a statement would find no ";" and raise nothing, as its list has
// stepped over each of its groups; an "=" right after the first name is its first.
std::unique_ptr<Node> Parser::ParseStatement(std::int32_t start, std::int32_t end) {
    if (start + 1 < end && TypeAt(start) == TokenType::Identifier && TypeAt(start + 1) == TokenType::Assign) {
        DepthGuard guard(m_depth);
        RaiseIfTooDeep(start, end);
        return Build<AssignNode>(start, end, start + 1);
    }
    return ParseRegion(start, end);
}

void Parser::RaiseIfTooDeep(std::int32_t start, std::int32_t end) const {
    if (m_depth > kMaxDepth) {
        RaiseAt(SyntaxException(), GetToken(start), GetToken(end));
    }
}

// Every other region is parsed by the operator of lowest precedence outside its
// groups. Kept apart from ParseRegion, so that the regions it settles at once cost no
// more than a short call.
std::unique_ptr<Node> Parser::ParseOperators(std::int32_t start, std::int32_t end) {
    for (;;) {
        if (start > end) {
            throw SyntaxException();
        }
        const RegionScan scan = ScanRegion(start, end);
        if (scan.semicolons > 0) {
            return BuildStatements(start, end, scan.semicolons);
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

// Steps over parenthesised groups, so only the tokens at depth 0 are looked at. Tests
// that mostly go one way rather than a switch: names and numbers make up most tokens,
// and a jump through a table per token is mispredicted more often than not.
Parser::RegionScan Parser::ScanRegion(std::int32_t start, std::int32_t end) const {
    RegionScan scan;
    for (std::int32_t i = start; i <= end; ++i) {
        const TokenType type = TypeAt(i);
        if (type >= TokenType::Ampersand && type != TokenType::Semicolon) {
            continue;
        }
        if (IsParenthesis(type)) {
            i = StepOverGroup(i, end, scan);
        } else if (type <= TokenType::Minus) {
            NoteSignOrAssign(i, start, scan);
        } else {
            NoteProductPowerOrSemicolon(i, scan);
        }
    }
    return scan;
}

std::int32_t Parser::StepOverGroup(std::int32_t index, std::int32_t end, RegionScan& scan) const {
    const std::int32_t close = GroupEnd(index, end);
    if (scan.openParen < 0) {
        scan.openParen = index;
        scan.closeParen = close;
    }
    return close;
}

std::int32_t Parser::GroupEnd(std::int32_t index, std::int32_t end) const {
    if (TypeAt(index) == TokenType::CloseParen) {
        RaiseAt(UnmatchedParenthesisException(), GetToken(index), GetToken(index));
    }
    const std::int32_t close = GetMatchingParen(index);
    if (close < 0 || close > end) {
        RaiseAt(UnmatchedParenthesisException(), GetToken(end), GetToken(end));
    }
    return close;
}

void Parser::NoteSignOrAssign(std::int32_t index, std::int32_t regionStart, RegionScan& scan) const {
    if (TypeAt(index) == TokenType::Assign) {
        if (scan.firstAssign < 0) {
            scan.firstAssign = index;
        }
    } else if (!IsUnarySign(index, regionStart)) {
        scan.lastBinarySign = index;
    } else if (scan.firstUnarySign < 0) {
        scan.firstUnarySign = index;
    }
}

void Parser::NoteProductPowerOrSemicolon(std::int32_t index, RegionScan& scan) const {
    const TokenType type = TypeAt(index);
    if (type == TokenType::Semicolon) {
        ++scan.semicolons;
    } else if (type == TokenType::Power) {
        scan.lastPower = index;
    } else {
        scan.lastProduct = index;
    }
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
    const FunctionCreator* factory = functions->Find(GetName(start));
    std::unique_ptr<FunctionNode> node = factory != nullptr ? factory->Create(m_expression) : nullptr;
    if (!node) {
        RaiseAt(NotFoundException(std::string(GetName(start))), name, name);
    }
    m_arenaOnly = m_arenaOnly && factory->MakesArenaOnlyNodes();
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
