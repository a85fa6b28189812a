// One-pass builder for plain programs; see the header for what plain means and why
// the heights below follow region parsing.
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

#include <algorithm>
#include <array>
#include <utility>

namespace ExprEval {

namespace {

// Room for the statements and arguments of a conversion program without growing.
constexpr std::size_t kPendingCapacity = 64;

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

PlainBuilder::PlainBuilder(std::string_view text, ExpressionObject* expression)
    : m_text(text), m_expression(expression) {}

std::unique_ptr<Node> PlainBuilder::Build() {
    m_values = m_expression->GetValueList();
    m_functions = m_expression->GetFunctionList();
    if (m_values == nullptr || m_functions == nullptr) {
        return nullptr;
    }
    m_pending.reserve(kPendingCapacity);
    Advance();
    Built statement = BuildStatement();
    if (!statement.node) {
        return nullptr;
    }
    // Region parsing makes a statement list of a program with a ";", even a trailing
    // one after a single statement.
    if (m_type == TokenType::Semicolon) {
        m_pending.push_back(std::move(statement.node));
        statement = BuildStatements(statement.height);
    }
    return AtEnd() ? std::move(statement.node) : nullptr;
}

// The statements after the first, up to the end of the program or the first token
// that continues none; the list's first statement is pending already.
PlainBuilder::Built PlainBuilder::BuildStatements(std::int32_t height) {
    while (m_type == TokenType::Semicolon) {
        Advance();
        // A ";" at the very end ends the list without an empty statement.
        if (AtEnd()) {
            break;
        }
        Built statement = BuildStatement();
        if (!statement.node) {
            return {};
        }
        height = std::max(height, statement.height);
        m_pending.push_back(std::move(statement.node));
    }
    if (height >= Parser::kMaxDepth) {
        return {};
    }
    auto statements = std::make_unique<MultiNode>(m_expression);
    statements->ReserveStatements(m_pending.size());
    for (std::unique_ptr<Node>& statement : m_pending) {
        statements->AddStatement(std::move(statement));
    }
    m_pending.clear();
    return {std::move(statements), height + 1};
}

// An "=" right after a leading name makes the statement an assignment. A new or
// constant target is left to region parsing, which adds or refuses it.
PlainBuilder::Built PlainBuilder::BuildStatement() {
    if (m_type != TokenType::Identifier || m_text.data()[SkipBlanks(m_next)] != '=') {
        return BuildSum();
    }
    const std::string_view name = TokenText();
    const ValueList::Binding* target = m_values->FindBinding(name, KeyOf(name));
    if (target == nullptr || target->constant) {
        return {};
    }
    Advance();
    Advance();
    Built value = BuildSum();
    if (!value.node || value.height >= Parser::kMaxDepth) {
        return {};
    }
    auto node = std::make_unique<AssignNode>(m_expression);
    node->Set(target->address, std::move(value.node));
    return {std::move(node), value.height + 1};
}

// Region parsing splits a sum at its last sign and a product at its last "*" or "/",
// so both nest to the left, as built here.
PlainBuilder::Built PlainBuilder::BuildSum() {
    Built sum = BuildProduct();
    while (sum.node && IsSign(m_type)) {
        const TokenType sign = m_type;
        Advance();
        sum = Combine(sign, std::move(sum), BuildProduct());
    }
    return sum;
}

PlainBuilder::Built PlainBuilder::BuildProduct() {
    Built product = BuildOperand();
    while (product.node && IsProduct(m_type)) {
        const TokenType type = m_type;
        Advance();
        product = Combine(type, std::move(product), BuildOperand());
    }
    return product;
}

// Refuses a tree past the limit as soon as it grows there, so that no taller tree is
// ever built (and deleted, by recursion).
PlainBuilder::Built PlainBuilder::Combine(TokenType type, Built left, Built right) const {
    const std::int32_t height = std::max(left.height, right.height) + 1;
    if (!right.node || height > Parser::kMaxDepth) {
        return {};
    }
    std::unique_ptr<BinaryNode> node = MakeBinary(m_expression, type);
    node->SetOperands(std::move(left.node), std::move(right.node));
    return {std::move(node), height};
}

PlainBuilder::Built PlainBuilder::BuildOperand() {
    switch (m_type) {
    case TokenType::Number: {
        auto node = std::make_unique<ValueNode>(m_expression);
        node->SetValue(m_number);
        Advance();
        return {std::move(node), 1};
    }
    case TokenType::Identifier: {
        const std::string_view name = TokenText();
        Advance();
        return m_type == TokenType::OpenParen ? BuildCall(name) : BuildVariable(name);
    }
    case TokenType::OpenParen:
        return BuildGroup();
    default:
        return {};
    }
}

// Region parsing strips a group's parentheses and goes on at the same level, in a
// loop; the recursion here is bounded instead.
PlainBuilder::Built PlainBuilder::BuildGroup() {
    if (m_nesting == Parser::kMaxDepth) {
        return {};
    }
    ++m_nesting;
    Advance();
    Built inner = BuildSum();
    --m_nesting;
    if (m_type != TokenType::CloseParen) {
        return {};
    }
    Advance();
    return inner;
}

// Only built-in functions: their factories do nothing but make the node, so a call
// that turns out not to be plain has no effect to undo. The arguments wait on the
// pending stack until their number is known, so that the node's array is allocated
// once, at its size.
PlainBuilder::Built PlainBuilder::BuildCall(std::string_view name) {
    const BuiltinFunctionCreator* factory = m_functions->FindBuiltin(name, KeyOf(name));
    if (factory == nullptr || m_nesting == Parser::kMaxDepth) {
        return {};
    }
    const std::size_t first = m_pending.size();
    std::int32_t height = 0;
    ++m_nesting;
    do {
        Advance();
        Built argument = BuildSum();
        if (!argument.node) {
            return {};
        }
        height = std::max(height, argument.height);
        m_pending.push_back(std::move(argument.node));
    } while (m_type == TokenType::Comma);
    --m_nesting;
    const std::size_t count = m_pending.size() - first;
    if (m_type != TokenType::CloseParen || height >= Parser::kMaxDepth) {
        return {};
    }
    Advance();
    std::unique_ptr<BuiltinFunctionNode> node = factory->CreateNode(m_expression);
    if (!node->AllowsCounts(count, 0)) {
        return {};
    }
    node->ReserveValues(count);
    for (std::size_t i = first; i < first + count; ++i) {
        node->AddArgument(std::move(m_pending[i]));
    }
    m_pending.resize(first);
    return {std::move(node), height + 1};
}

PlainBuilder::Built PlainBuilder::BuildVariable(std::string_view name) {
    const ValueList::Binding* variable = m_values->FindBinding(name, KeyOf(name));
    if (variable == nullptr) {
        return {};
    }
    auto node = std::make_unique<VariableNode>(m_expression);
    node->SetAddress(variable->address);
    return {std::move(node), 1};
}

// The tokenizer's rules, except that a character no plain program has (including a
// null within the text) ends the tokens like the end of the text does. Most tokens are
// one character after a few blanks, so that path is kept short; names and numbers
// take a function of their own.
void PlainBuilder::Advance() {
    const std::size_t position = SkipBlanks(m_next);
    const LexClass lex = LexClassOf(m_text.data()[position]);
    m_start = position;
    m_next = position + 1;
    m_type = static_cast<TokenType>(lex);
    if (lex == LexClass::Identifier || lex == LexClass::Number) {
        AdvanceOver(lex);
    }
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
