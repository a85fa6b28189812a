// Argument parsing shared by all function calls.
#include "expr/FunctionNode.h"

#include "expr/ConstantReferenceException.h"
#include "expr/ExpressionObject.h"
#include "expr/FunctionCreator.h"
#include "expr/InvalidArgumentCountException.h"
#include "expr/NoValueListException.h"
#include "expr/Parser.h"
#include "expr/RaiseAt.h"
#include "expr/SyntaxException.h"
#include "expr/ValueList.h"

namespace ExprEval {

FunctionNode::~FunctionNode() = default;

std::string FunctionNode::GetName() const {
    return m_factory != nullptr ? m_factory->GetName() : std::string();
}

// The call's "(" is paired with end, so every group inside it closes before end and is
// stepped over whole; only the "," between groups separate the arguments.
void FunctionNode::Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) {
    if (start >= end) {
        throw SyntaxException();
    }
    ReserveArguments();
    std::int32_t argumentStart = start + 1;
    for (std::int32_t i = start + 1; i < end; ++i) {
        const TokenType type = parser.TypeAt(i);
        if (type == TokenType::Comma) {
            AddArgument(parser, argumentStart, i);
            argumentStart = i + 1;
        } else if (IsParenthesis(type)) {
            i = parser.GroupEnd(i, end);
        }
    }
    AddArgument(parser, argumentStart, end);
    CheckCounts(parser.GetToken(start), parser.GetToken(end));
}

// Room for as many arguments as the function takes, or for a typical number when
// there is no limit: growing the arrays argument by argument would cost more
// allocations than building the arguments.
void FunctionNode::ReserveArguments() {
    m_arguments.Reserve(static_cast<std::size_t>(m_maxValues >= 0 ? m_maxValues : kTypicalUnlimitedCount));
    m_references.Reserve(
        static_cast<std::size_t>(m_maxReferences >= 0 ? m_maxReferences : kTypicalUnlimitedCount));
}

// The argument is the tokens first to closing - 1; closing is its "," or the final ")".
void FunctionNode::AddArgument(Parser& parser, std::int32_t first, std::int32_t closing) {
    if (first == closing) {
        RaiseAt(SyntaxException(), parser.GetToken(closing), parser.GetToken(closing));
    }
    if (parser.TypeAt(first) == TokenType::Ampersand) {
        AddReference(parser, first, closing);
        return;
    }
    m_arguments.Add(parser.ParseRegion(first, closing - 1));
}

void FunctionNode::AddReference(Parser& parser, std::int32_t first, std::int32_t closing) {
    const ExprToken& name = parser.GetToken(first + 1);
    if (closing != first + 2 || name.GetType() != TokenType::Identifier) {
        RaiseAt(SyntaxException(), parser.GetToken(first), parser.GetToken(closing));
    }
    const ValueList* list = GetExpression().GetValueList();
    if (list == nullptr) {
        RaiseAt(NoValueListException(), name, name);
    }
    if (list->IsConstant(parser.GetName(first + 1))) {
        RaiseAt(ConstantReferenceException(std::string(parser.GetName(first + 1))), name, name);
    }
    m_references.Add(ResolveVariable(parser, first + 1));
}

void FunctionNode::CheckCounts(const ExprToken& open, const ExprToken& close) const {
    if (!AllowsCounts(m_arguments.Size(), m_references.Size())) {
        RaiseAt(InvalidArgumentCountException(GetName()), open, close);
    }
}

}  // namespace ExprEval
