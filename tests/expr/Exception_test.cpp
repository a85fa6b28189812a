// The evaluator's exception classes: type codes, value texts, default positions, and
// that every class is caught as ExprEval::Exception and as std::exception.
#include "expr/ExprEval.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include <gtest/gtest.h>

using namespace ExprEval;

namespace {

struct ExceptionRow {
    const char* name;
    std::function<void()> raise;
    std::int32_t type;
    std::string value;
};

const ExceptionRow kRows[] = {
    {"Exception", [] { throw Exception(); }, 1, ""},
    {"NotFoundException", [] { throw NotFoundException("foo"); }, 2, "foo"},
    {"AlreadyExistsException", [] { throw AlreadyExistsException("x"); }, 3, "x"},
    {"NullPointerException", [] { throw NullPointerException("Node::Node"); }, 4, "Node::Node"},
    {"MathException", [] { throw MathException("^"); }, 5, "^"},
    {"DivideByZeroException", [] { throw DivideByZeroException(); }, 6, ""},
    {"NoValueListException", [] { throw NoValueListException(); }, 7, ""},
    {"NoFunctionListException", [] { throw NoFunctionListException(); }, 8, ""},
    {"AbortException", [] { throw AbortException(); }, 9, ""},
    {"EmptyExpressionException", [] { throw EmptyExpressionException(); }, 10, ""},
    {"UnknownTokenException", [] { throw UnknownTokenException(); }, 11, ""},
    {"InvalidArgumentCountException", [] { throw InvalidArgumentCountException("min"); }, 12, "min"},
    {"ConstantAssignException", [] { throw ConstantAssignException("PI"); }, 13, "PI"},
    {"ConstantReferenceException", [] { throw ConstantReferenceException("E"); }, 14, "E"},
    {"SyntaxException", [] { throw SyntaxException(); }, 15, ""},
    {"UnmatchedParenthesisException", [] { throw UnmatchedParenthesisException(); }, 16, ""},
};

}  // namespace

TEST(EvaluatorExceptions, CarryTheirTypeCodeValueAndUnsetPositions) {
    for (const ExceptionRow& row : kRows) {
        SCOPED_TRACE(row.name);
        try {
            row.raise();
            ADD_FAILURE() << "nothing raised";
        } catch (const Exception& error) {
            EXPECT_EQ(error.GetType(), row.type);
            EXPECT_EQ(error.GetValue(), row.value);
            EXPECT_EQ(error.GetStart(), -1);
            EXPECT_EQ(error.GetEnd(), -1);
        }
    }
}

TEST(EvaluatorExceptions, AreCaughtAsStandardExceptions) {
    for (const ExceptionRow& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_THROW(row.raise(), std::exception);
    }
}

TEST(EvaluatorExceptions, KeepPositionsThroughACopy) {
    SyntaxException error;
    error.SetStart(3);
    error.SetEnd(7);
    const SyntaxException copy = error;
    EXPECT_EQ(copy.GetStart(), 3);
    EXPECT_EQ(copy.GetEnd(), 7);
    EXPECT_EQ(copy.GetType(), SyntaxException::kType);
}
