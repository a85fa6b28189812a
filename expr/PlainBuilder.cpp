// One-pass builder for plain programs; see the header for what plain means.
#include "expr/PlainBuilder.h"

#include "expr/AddNode.h"
#include "expr/AssignNode.h"
#include "expr/BuiltinFunctionCreator.h"
#include "expr/DivideNode.h"
#include "expr/ExpressionObject.h"
#include "expr/FunctionList.h"
#include "expr/FunctionNode.h"
#include "expr/MultiNode.h"
#include "expr/MultiplyNode.h"
#include "expr/NameIndex.h"
#include "expr/Parser.h"
#include "expr/SubtractNode.h"
#include "expr/TextScan.h"
#include "expr/ValueList.h"
#include "expr/ValueNode.h"
#include "expr/VariableNode.h"

#include <array>
#include <utility>

namespace ExprEval {

namespace {

bool IsSign(TokenType type) {
    return type == TokenType::Plus || type == TokenType::Minus;
}

bool IsProduct(TokenType type) {
    return type == TokenType::Multiply || type == TokenType::Divide;
}

std::unique_ptr<BinaryNode> MakeBinary(ExpressionObject* expression, TokenType type) {
    switch (type) {
    case TokenType::Plus:
        return std::make_unique<AddNode>(expression);
    case TokenType::Minus:
        return std::make_unique<SubtractNode>(expression);
    case TokenType::Multiply:
        return std::make_unique<MultiplyNode>(expression);
    default:
        return std::make_unique<DivideNode>(expression);
    }
}

using LexClass = PlainBuilder::LexClass;

// What a character means to the builder's tokens, by character.
constexpr std::array<LexClass, 256> MakeLexClasses() {
    std::array<LexClass, 256> classes{};
    for (std::size_t c = 0; c < classes.size(); ++c) {
        const TokenType type = TextScan::kTokenTypes[c];
        const CharKind kind = TextScan::kCharKinds[c];
        if (type != TokenType{}) {
            classes[c] = static_cast<LexClass>(type);
        } else if (kind == CharKind::Blank) {
            classes[c] = LexClass::Blank;
        } else if (kind == CharKind::Comment) {
            classes[c] = LexClass::Comment;
        } else {
            classes[c] = LexClass::Other;
        }
    }
    return classes;
}

constexpr std::array<LexClass, 256> kLexClasses = MakeLexClasses();

LexClass LexClassOf(char c) {
    return kLexClasses[static_cast<unsigned char>(c)];
}

std::uint64_t KeyOf(std::string_view name) {
    return NameIndex::PaddedKey(name);
}

}  // namespace

// The tokenizer's rules, except that a character no plain program has (including a
// null within the text) ends the tokens like the end of the text does. Most tokens are
// one character after a few blanks, so that path is kept short; names and numbers
// take a function of their own. Inline: it runs for every token, and as a call it
// would cost about as much as cutting the token.
inline void PlainBuilder::Advance() {
    const std::size_t position = SkipBlanks(m_next);
    const LexClass lex = LexClassOf(m_text.data()[position]);
    m_start = position;
    m_next = position + 1;
    m_type = --m_tokensLeft >= 0 ? static_cast<TokenType>(lex) : TokenType{};
    if (lex == LexClass::Identifier || lex == LexClass::Number) {
        AdvanceOver(lex);
    }
}

PlainBuilder::PlainBuilder(std::string_view text, ExpressionObject* expression)
    : m_text(text), m_expression(expression) {}

std::unique_ptr<Node> PlainBuilder::Build() {
    m_values = m_expression->GetValueList();
    m_functions = m_expression->GetFunctionList();
    if (m_values == nullptr || m_functions == nullptr) {
        return nullptr;
    }
    StartStatement();
    std::unique_ptr<Node> statement = BuildStatement();
    // Region parsing makes a statement list of a program with a ";", even a trailing
    // one after a single statement.
    if (statement && m_type == TokenType::Semicolon) {
        statement = BuildStatements(std::move(statement));
    }
    return statement && AtEnd() ? std::move(statement) : nullptr;
}

// The statements from the first, built already, up to the end of the program or the
// first token that continues none. Their array grows as they come: counting them
// first would cost more than the few moves.
std::unique_ptr<Node> PlainBuilder::BuildStatements(std::unique_ptr<Node> first) {
    auto statements = std::make_unique<MultiNode>(m_expression);
    statements->AddStatement(std::move(first));
    while (m_type == TokenType::Semicolon) {
        StartStatement();
        // A ";" at the very end ends the list without an empty statement.
        if (AtEnd()) {
            break;
        }
        std::unique_ptr<Node> statement = BuildStatement();
        if (!statement) {
            return nullptr;
        }
        statements->AddStatement(std::move(statement));
    }
    return statements;
}

// Region parsing parses each operand a level deeper than the region it is part of, and
// each operand is at least one token shorter than that region. So a statement (at
// level 2 in a list) of n tokens nests n + 1 levels at most, and one of fewer than
// kMaxDepth tokens never meets the parser's limit. A longer statement is left to
// region parsing: Advance reports no further token once the statement's tokens and
// the one after them number more than kMaxDepth. This bounds the recursion here and
// the height of every tree built too.
void PlainBuilder::StartStatement() {
    m_tokensLeft = Parser::kMaxDepth;
    Advance();
}

// An "=" right after a leading name makes the statement an assignment. A new or
// constant target is left to region parsing, which adds or refuses it.
std::unique_ptr<Node> PlainBuilder::BuildStatement() {
    if (m_type != TokenType::Identifier || m_text.data()[SkipBlanks(m_next)] != '=') {
        return BuildSum();
    }
    const std::string_view name = TokenText();
    const ValueList::Binding* target = m_values->FindBinding(name, KeyOf(name));
    if (target == nullptr || target->constant) {
        return nullptr;
    }
    Advance();
    Advance();
    std::unique_ptr<Node> value = BuildSum();
    if (!value) {
        return nullptr;
    }
    auto node = std::make_unique<AssignNode>(m_expression);
    node->Set(target->address, std::move(value));
    return node;
}

// Region parsing splits a sum at its last sign and a product at its last "*" or "/",
// so both nest to the left, as built here. One loop takes both: most operands stand
// alone, and a function per level would be a call per level for each of them.
std::unique_ptr<Node> PlainBuilder::BuildSum() {
    std::unique_ptr<Node> sum;
    TokenType sign{};
    for (;;) {
        std::unique_ptr<Node> term = BuildOperand();
        while (term && IsProduct(m_type)) {
            const TokenType type = m_type;
            Advance();
            term = Combine(type, std::move(term), BuildOperand());
        }
        sum = sum ? Combine(sign, std::move(sum), std::move(term)) : std::move(term);
        if (!sum || !IsSign(m_type)) {
            return sum;
        }
        sign = m_type;
        Advance();
    }
}

std::unique_ptr<Node> PlainBuilder::Combine(TokenType type,
                                            std::unique_ptr<Node> left,
                                            std::unique_ptr<Node> right) const {
    if (!right) {
        return nullptr;
    }
    std::unique_ptr<BinaryNode> node = MakeBinary(m_expression, type);
    node->SetOperands(std::move(left), std::move(right));
    return node;
}

std::unique_ptr<Node> PlainBuilder::BuildOperand() {
    switch (m_type) {
    case TokenType::Number: {
        auto node = std::make_unique<ValueNode>(m_expression);
        node->SetValue(m_number);
        Advance();
        return node;
    }
    case TokenType::Identifier: {
        const std::string_view name = TokenText();
        Advance();
        return m_type == TokenType::OpenParen ? BuildCall(name) : BuildVariable(name);
    }
    case TokenType::OpenParen:
        return BuildGroup();
    default:
        return nullptr;
    }
}

// Region parsing strips a group's parentheses and goes on at the same level.
std::unique_ptr<Node> PlainBuilder::BuildGroup() {
    Advance();
    std::unique_ptr<Node> inner = BuildSum();
    if (!inner || m_type != TokenType::CloseParen) {
        return nullptr;
    }
    Advance();
    return inner;
}

// Only built-in functions: their factories do nothing but make the node, so a call
// that turns out not to be plain has no effect to undo.
std::unique_ptr<Node> PlainBuilder::BuildCall(std::string_view name) {
    const BuiltinFunctionCreator* factory = m_functions->FindBuiltin(name, KeyOf(name));
    if (factory == nullptr) {
        return nullptr;
    }
    std::unique_ptr<BuiltinFunctionNode> node = factory->CreateNode(m_expression);
    node->ReserveValues();
    do {
        Advance();
        std::unique_ptr<Node> argument = BuildSum();
        if (!argument) {
            return nullptr;
        }
        node->AddArgument(std::move(argument));
    } while (m_type == TokenType::Comma);
    if (m_type != TokenType::CloseParen || !node->AllowsCounts(node->GetArgumentCount(), 0)) {
        return nullptr;
    }
    Advance();
    return node;
}

std::unique_ptr<Node> PlainBuilder::BuildVariable(std::string_view name) {
    const ValueList::Binding* variable = m_values->FindBinding(name, KeyOf(name));
    if (variable == nullptr) {
        return nullptr;
    }
    auto node = std::make_unique<VariableNode>(m_expression);
    node->SetAddress(variable->address);
    return node;
}

void PlainBuilder::AdvanceOver(LexClass lex) {
    const char* text = m_text.data();
    m_next = lex == LexClass::Identifier ? TextScan::IdentifierEnd(text, m_start)
                                         : TextScan::ReadNumber(text, m_start, m_number);
}

// Blanks come by the hundred, comments hardly ever: they are skipped by a call.
std::size_t PlainBuilder::SkipBlanks(std::size_t position) const {
    const char* text = m_text.data();
    for (;;) {
        LexClass lex = LexClassOf(text[position]);
        while (lex == LexClass::Blank) {
            lex = LexClassOf(text[++position]);
        }
        if (lex != LexClass::Comment) {
            return position;
        }
        position = TextScan::CommentEnd(m_text, position);
    }
}

}  // namespace ExprEval
