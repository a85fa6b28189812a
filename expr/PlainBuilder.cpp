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
#include "expr/NodeArena.h"
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

BinaryNode* MakeBinary(ExpressionObject* expression, TokenType type) {
    switch (type) {
    case TokenType::Plus:
        return new AddNode(expression);
    case TokenType::Minus:
        return new SubtractNode(expression);
    case TokenType::Multiply:
        return new MultiplyNode(expression);
    default:
        return new DivideNode(expression);
    }
}

// A node built here, handed to the node that owns it from now on.
std::unique_ptr<Node> Owned(Node* node) {
    return std::unique_ptr<Node>(node);
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
// one character after a few blanks, so that path is kept short; numbers take a
// function of their own. Inline: it runs for every token, and as a call it
// would cost about as much as cutting the token.
inline void PlainBuilder::Advance() {
    const std::size_t position = SkipBlanks(m_next);
    const LexClass lex = LexClassOf(m_text.data()[position]);
    m_start = position;
    m_next = position + 1;
    m_type = --m_tokensLeft >= 0 ? static_cast<TokenType>(lex) : TokenType{};
    if (lex == LexClass::Identifier) {
        m_next = TextScan::IdentifierEnd(m_text.data(), position);
    } else if (lex == LexClass::Number) {
        AdvanceOverNumber();
    }
}

PlainBuilder::PlainBuilder(std::string_view text, ExpressionObject* expression)
    : m_text(text), m_expression(expression) {}

// Without an arena the nodes of a program that turns out not to be plain would have
// to be deleted one by one; the parser always has one.
std::unique_ptr<Node> PlainBuilder::Build() {
    m_values = m_expression->GetValueList();
    m_functions = m_expression->GetFunctionList();
    if (m_values == nullptr || m_functions == nullptr || NodeArena::Current() == nullptr) {
        return nullptr;
    }
    StartStatement();
    Node* statement = BuildStatement();
    // Region parsing makes a statement list of a program with a ";", even a trailing
    // one after a single statement.
    if (statement != nullptr && m_type == TokenType::Semicolon) {
        statement = BuildStatements(statement);
    }
    return std::unique_ptr<Node>(statement != nullptr && AtEnd() ? statement : nullptr);
}

// The statements from the first, built already, up to the end of the program or the
// first token that continues none. Their array grows as they come: counting them
// first would cost more than the few moves.
Node* PlainBuilder::BuildStatements(Node* first) {
    auto* statements = new MultiNode(m_expression);
    statements->AddStatement(Owned(first));
    while (m_type == TokenType::Semicolon) {
        StartStatement();
        // A ";" at the very end ends the list without an empty statement.
        if (AtEnd()) {
            break;
        }
        Node* statement = BuildStatement();
        if (statement == nullptr) {
            return nullptr;
        }
        statements->AddStatement(Owned(statement));
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
Node* PlainBuilder::BuildStatement() {
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
    Node* value = BuildSum();
    if (value == nullptr) {
        return nullptr;
    }
    auto* node = new AssignNode(m_expression);
    node->Set(target->address, Owned(value));
    return node;
}

// Region parsing splits a sum at its last sign and a product at its last "*" or "/",
// so both nest to the left, as built here. One loop takes both: most operands stand
// alone, and a function per level would be a call per level for each of them.
Node* PlainBuilder::BuildSum() {
    Node* sum = nullptr;
    TokenType sign{};
    for (;;) {
        Node* term = BuildOperand();
        while (term != nullptr && IsProduct(m_type)) {
            const TokenType type = m_type;
            Advance();
            term = Combine(type, term, BuildOperand());
        }
        sum = sum != nullptr ? Combine(sign, sum, term) : term;
        if (sum == nullptr || !IsSign(m_type)) {
            return sum;
        }
        sign = m_type;
        Advance();
    }
}

Node* PlainBuilder::Combine(TokenType type, Node* left, Node* right) const {
    if (right == nullptr) {
        return nullptr;
    }
    BinaryNode* node = MakeBinary(m_expression, type);
    node->SetOperands(Owned(left), Owned(right));
    return node;
}

Node* PlainBuilder::BuildOperand() {
    switch (m_type) {
    case TokenType::Number: {
        auto* node = new ValueNode(m_expression);
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
Node* PlainBuilder::BuildGroup() {
    Advance();
    Node* inner = BuildSum();
    if (inner == nullptr || m_type != TokenType::CloseParen) {
        return nullptr;
    }
    Advance();
    return inner;
}

// Only built-in functions: their factories do nothing but make the node, so a call
// that turns out not to be plain has no effect to undo.
Node* PlainBuilder::BuildCall(std::string_view name) {
    const BuiltinFunctionCreator* factory = m_functions->FindBuiltin(name, KeyOf(name));
    if (factory == nullptr) {
        return nullptr;
    }
    BuiltinFunctionNode* node = factory->CreateNode(m_expression).release();
    node->ReserveValues();
    do {
        Advance();
        Node* argument = BuildSum();
        if (argument == nullptr) {
            return nullptr;
        }
        node->AddArgument(Owned(argument));
    } while (m_type == TokenType::Comma);
    if (m_type != TokenType::CloseParen || !node->AllowsCounts(node->GetArgumentCount(), 0)) {
        return nullptr;
    }
    Advance();
    return node;
}

Node* PlainBuilder::BuildVariable(std::string_view name) {
    const ValueList::Binding* variable = m_values->FindBinding(name, KeyOf(name));
    if (variable == nullptr) {
        return nullptr;
    }
    auto* node = new VariableNode(m_expression);
    node->SetAddress(variable->address);
    return node;
}

void PlainBuilder::AdvanceOverNumber() {
    m_next = TextScan::ReadNumber(m_text.data(), m_start, m_number);
}

// Blanks come by the hundred, comments hardly ever: the end of a comment is found by a
// call, which keeps the loop over blanks short.
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
