// One-pass builder for plain programs; see the header for what plain means and why the
// depths below follow region parsing.
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
#include "expr/Parser.h"
#include "expr/SubtractNode.h"
#include "expr/ValueList.h"
#include "expr/ValueNode.h"
#include "expr/VariableNode.h"

#include <utility>

namespace ExprEval {

namespace {

bool IsSign(TokenType type) {
    return type == TokenType::Plus || type == TokenType::Minus;
}

bool IsBinaryOperator(TokenType type) {
    return IsSign(type) || type == TokenType::Multiply || type == TokenType::Divide;
}

std::unique_ptr<Node> Combine(ExpressionObject* expression,
                              TokenType type,
                              std::unique_ptr<Node> left,
                              std::unique_ptr<Node> right) {
    std::unique_ptr<BinaryNode> node;
    switch (type) {
    case TokenType::Plus:
        node = std::make_unique<AddNode>(expression);
        break;
    case TokenType::Minus:
        node = std::make_unique<SubtractNode>(expression);
        break;
    case TokenType::Multiply:
        node = std::make_unique<MultiplyNode>(expression);
        break;
    default:
        node = std::make_unique<DivideNode>(expression);
        break;
    }
    node->SetOperands(std::move(left), std::move(right));
    return node;
}

}  // namespace

PlainBuilder::PlainBuilder(const Parser& parser, ExpressionObject* expression)
    : m_parser(parser), m_expression(expression) {}

std::unique_ptr<Node> PlainBuilder::Build() {
    m_values = m_expression->GetValueList();
    m_functions = m_expression->GetFunctionList();
    m_count = m_parser.GetTokenCount();
    if (m_values == nullptr || m_functions == nullptr || m_count == 0) {
        return nullptr;
    }
    return BuildProgram();
}

// Region parsing makes a statement list only of a program with a ";" outside
// parentheses; one inside them is not plain, so counting them all decides it.
std::unique_ptr<Node> PlainBuilder::BuildProgram() {
    std::int32_t semicolons = 0;
    for (std::int32_t i = 0; i < m_count; ++i) {
        semicolons += TypeAt(i) == TokenType::Semicolon ? 1 : 0;
    }
    // The whole program is the region of depth 1, its statements those of depth 2.
    if (semicolons == 0) {
        std::unique_ptr<Node> statement = BuildStatement(0, 1);
        return statement && m_position == m_count ? std::move(statement) : nullptr;
    }
    auto statements = std::make_unique<MultiNode>(m_expression);
    statements->ReserveStatements(static_cast<std::size_t>(semicolons) + 1);
    std::int32_t position = 0;
    for (;;) {
        std::unique_ptr<Node> statement =
            TypeAt(position) == TokenType::Semicolon ? nullptr : BuildStatement(position, 2);
        if (!statement) {
            return nullptr;
        }
        statements->AddStatement(std::move(statement));
        position = m_position;
        if (position == m_count) {
            break;
        }
        if (TypeAt(position) != TokenType::Semicolon) {
            return nullptr;
        }
        // A ";" at the very end ends the list without an empty statement.
        if (++position == m_count) {
            break;
        }
    }
    return statements;
}

std::unique_ptr<Node> PlainBuilder::BuildStatement(std::int32_t position, std::int32_t depth) {
    if (!DepthAllowed(depth)) {
        return nullptr;
    }
    const bool assigns = TypeAt(position) == TokenType::Identifier && position + 1 < m_count &&
                         TypeAt(position + 1) == TokenType::Assign;
    if (!assigns) {
        return BuildExpression(position, depth);
    }
    // A new or constant target is left to region parsing, which adds or refuses it.
    const ValueList::Binding* target =
        m_values->FindBinding(m_parser.GetName(position), m_parser.GetNameKey(position));
    if (target == nullptr || target->constant) {
        return nullptr;
    }
    std::unique_ptr<Node> value = BuildExpression(position + 2, depth + 1);
    if (!value) {
        return nullptr;
    }
    auto node = std::make_unique<AssignNode>(m_expression);
    node->Set(target->address, std::move(value));
    return node;
}

// Builds the expression at position; m_position is left on the first token after it.
// Most expressions are a lone number or name (an argument, a statement's value), which
// takes no collecting of operands.
std::unique_ptr<Node> PlainBuilder::BuildExpression(std::int32_t position, std::int32_t depth) {
    if (!DepthAllowed(depth)) {
        return nullptr;
    }
    if (IsLoneLeaf(position)) {
        m_position = position + 1;
        return BuildLeaf(position);
    }
    return BuildCompound(position, depth);
}

// Collects the operands and operators up to the first token that continues neither,
// then builds them.
std::unique_ptr<Node> PlainBuilder::BuildCompound(std::int32_t position, std::int32_t depth) {
    Operand operands[kMaxOperands];
    TokenType operators[kMaxOperands];
    std::int32_t count = 0;
    std::int32_t next = position;
    for (;;) {
        if (count == kMaxOperands || !FindOperand(next, operands[count])) {
            return nullptr;
        }
        next = operands[count].end + 1;
        ++count;
        if (next >= m_count || !IsBinaryOperator(TypeAt(next))) {
            break;
        }
        operators[count - 1] = TypeAt(next);
        ++next;
    }
    std::unique_ptr<Node> node =
        count == 1 ? BuildOperand(operands[0], depth) : BuildSum(operands, operators, count, depth);
    m_position = next;
    return node;
}

// Region parsing splits a sum at its last sign, so term j of s signs (j from 1) is
// parsed at depth + s - j + 1 and the first term at depth + s.
std::unique_ptr<Node> PlainBuilder::BuildSum(const Operand* operands,
                                             const TokenType* operators,
                                             std::int32_t count,
                                             std::int32_t depth) {
    std::int32_t signs = 0;
    for (std::int32_t i = 0; i + 1 < count; ++i) {
        signs += IsSign(operators[i]) ? 1 : 0;
    }
    if (signs == 0) {
        return BuildProduct(operands, operators, count, depth);
    }
    std::int32_t termEnd = 0;
    while (!IsSign(operators[termEnd])) {
        ++termEnd;
    }
    std::unique_ptr<Node> sum = BuildProduct(operands, operators, termEnd + 1, depth + signs);
    if (!sum) {
        return nullptr;
    }
    for (std::int32_t term = 1; term <= signs; ++term) {
        const TokenType sign = operators[termEnd];
        const std::int32_t termStart = termEnd + 1;
        termEnd = termStart;
        while (termEnd + 1 < count && !IsSign(operators[termEnd])) {
            ++termEnd;
        }
        std::unique_ptr<Node> right = BuildProduct(operands + termStart, operators + termStart,
                                                   termEnd - termStart + 1, depth + signs - term + 1);
        if (!right) {
            return nullptr;
        }
        sum = Combine(m_expression, sign, std::move(sum), std::move(right));
    }
    return sum;
}

// A product splits at its last "*" or "/" in the same way as a sum at its signs.
std::unique_ptr<Node> PlainBuilder::BuildProduct(const Operand* operands,
                                                 const TokenType* operators,
                                                 std::int32_t count,
                                                 std::int32_t depth) {
    const std::int32_t products = count - 1;
    std::unique_ptr<Node> product = BuildOperand(operands[0], depth + products);
    for (std::int32_t factor = 1; product && factor <= products; ++factor) {
        std::unique_ptr<Node> right = BuildOperand(operands[factor], depth + products - factor + 1);
        if (!right) {
            return nullptr;
        }
        product = Combine(m_expression, operators[factor - 1], std::move(product), std::move(right));
    }
    return product;
}

std::unique_ptr<Node> PlainBuilder::BuildOperand(const Operand& operand, std::int32_t depth) {
    if (!DepthAllowed(depth)) {
        return nullptr;
    }
    const TokenType type = TypeAt(operand.start);
    if (operand.start == operand.end && type != TokenType::OpenParen) {
        return BuildLeaf(operand.start);
    }
    if (type == TokenType::Identifier) {
        return BuildCall(operand, depth);
    }
    // A group: region parsing strips its parentheses and goes on at the same depth, in
    // a loop; groups directly in groups are bounded here, as this recursion would not be.
    if (operand.end - operand.start < 2 || m_groupNesting == Parser::kMaxDepth) {
        return nullptr;
    }
    ++m_groupNesting;
    std::unique_ptr<Node> inner = BuildExpression(operand.start + 1, depth);
    --m_groupNesting;
    return inner && m_position == operand.end ? std::move(inner) : nullptr;
}

// Only built-in functions: their factories do nothing but make the node, so building
// a call that turns out not to be plain has no effect to undo.
std::unique_ptr<Node> PlainBuilder::BuildCall(const Operand& operand, std::int32_t depth) {
    const std::int32_t open = operand.start + 1;
    const std::int32_t close = operand.end;
    const BuiltinFunctionCreator* factory =
        m_functions->FindBuiltin(m_parser.GetName(operand.start), m_parser.GetNameKey(operand.start));
    if (factory == nullptr || close == open + 1) {
        return nullptr;
    }
    std::unique_ptr<BuiltinFunctionNode> node = factory->CreateNode(m_expression);
    const std::int32_t count = ArgumentCount(open, close);
    if (!node->AllowsCounts(static_cast<std::size_t>(count), 0)) {
        return nullptr;
    }
    node->ReserveValues(static_cast<std::size_t>(count));
    std::int32_t position = open + 1;
    for (;;) {
        std::unique_ptr<Node> argument = BuildExpression(position, depth + 1);
        if (!argument) {
            return nullptr;
        }
        node->AddArgument(std::move(argument));
        if (m_position == close) {
            break;
        }
        if (TypeAt(m_position) != TokenType::Comma || m_position + 1 == close) {
            return nullptr;
        }
        position = m_position + 1;
    }
    return node;
}

// One more than the "," between the parentheses and outside groups: the number of
// arguments a plain call has, known before they are built, so that their array is
// allocated once and a call with a wrong count is refused before anything is built.
std::int32_t PlainBuilder::ArgumentCount(std::int32_t open, std::int32_t close) const {
    std::int32_t count = 1;
    for (std::int32_t i = open + 1; i < close; ++i) {
        const TokenType type = TypeAt(i);
        if (type == TokenType::OpenParen) {
            // Within a call whose "(" is matched every "(" is matched too.
            i = m_parser.GetMatchingParen(i);
        } else if (type == TokenType::Comma) {
            ++count;
        }
    }
    return count;
}

// A number, or a name that no "(" follows, that no operator continues: what
// FindOperand and the operator loop of BuildExpression would find to be the whole
// expression.
bool PlainBuilder::IsLoneLeaf(std::int32_t position) const {
    if (position >= m_count) {
        return false;
    }
    const TokenType type = TypeAt(position);
    if (type != TokenType::Number && type != TokenType::Identifier) {
        return false;
    }
    if (position + 1 == m_count) {
        return true;
    }
    const TokenType next = TypeAt(position + 1);
    return !IsBinaryOperator(next) && !(type == TokenType::Identifier && next == TokenType::OpenParen);
}

// The number or name at index.
std::unique_ptr<Node> PlainBuilder::BuildLeaf(std::int32_t index) {
    if (TypeAt(index) != TokenType::Number) {
        return BuildVariable(index);
    }
    auto node = std::make_unique<ValueNode>(m_expression);
    node->SetValue(m_parser.GetValue(index));
    return node;
}

std::unique_ptr<Node> PlainBuilder::BuildVariable(std::int32_t index) {
    const ValueList::Binding* variable =
        m_values->FindBinding(m_parser.GetName(index), m_parser.GetNameKey(index));
    if (variable == nullptr) {
        return nullptr;
    }
    auto node = std::make_unique<VariableNode>(m_expression);
    node->SetAddress(variable->address);
    return node;
}

bool PlainBuilder::FindOperand(std::int32_t position, Operand& operand) const {
    if (position >= m_count) {
        return false;
    }
    const TokenType type = TypeAt(position);
    std::int32_t open = position;
    if (type == TokenType::Identifier) {
        if (position + 1 >= m_count || TypeAt(position + 1) != TokenType::OpenParen) {
            operand = {position, position};
            return true;
        }
        open = position + 1;
    } else if (type != TokenType::OpenParen) {
        operand = {position, position};
        return type == TokenType::Number;
    }
    const std::int32_t close = m_parser.GetMatchingParen(open);
    operand = {position, close};
    return close >= 0;
}

TokenType PlainBuilder::TypeAt(std::int32_t index) const {
    return m_parser.TypeAt(index);
}

bool PlainBuilder::DepthAllowed(std::int32_t depth) {
    return depth <= Parser::kMaxDepth;
}

}  // namespace ExprEval
