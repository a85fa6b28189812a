// Tokenizer and parser: precedence, signs, comments, number and name syntax, and the
// exception and character positions of every place where the grammar can fail.
#include "expr/Parser.h"

#include "Calculator.h"
#include "expr/ExprEval.h"
#include "expr/ScanNumber.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

using namespace ExprEval;

namespace {

struct ValueRow {
    const char* text;
    double expected;
};

struct ErrorRow {
    const char* text;
    std::int32_t type;
    std::int32_t start;
    std::int32_t end;
    const char* value;
};

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

}  // namespace

TEST(Parser, GivesOperatorsTheirPrecedenceAndAssociativity) {
    const ValueRow rows[] = {
        {"1 + 2 * 3", 7},   {"(1 + 2) * 3", 9}, {"((4))", 4},        {"10 - 4 - 3", 3}, {"8 / 2 / 2", 2},
        {"2 ^ 3 ^ 2", 64},  {"-2 ^ 2", -4},     {"2 ^ -2", 0.25},    {"2 * -3", -6},    {"+5", 5},
        {"-(-3)", 3},       {"1 - -1", 2},      {"1 - +1", 0},       {"--2", 2},        {"2 * 3 ^ 2", 18},
        {"-2 * 3 + 1", -5}, {"12 / 4 * 3", 9},  {"min(-1, -2)", -2}, {"(1; 2) + 1", 3}, {"1;", 1},
        {"1; 2; 3", 3},
    };
    for (const ValueRow& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        EXPECT_DOUBLE_EQ(calc.Run(row.text), row.expected);
    }
}

TEST(Parser, ReadsNumbersNamesBlanksAndComments) {
    const ValueRow rows[] = {
        {".5", 0.5},
        {"3.", 3},
        {".", 0},
        {"0.125", 0.125},
        {"007", 7},
        {"65535", 65535},
        {"123.456", 123.456},
        {"\t1\r\n+\n2 ", 3},
        {"1 # a comment\n + 2", 3},
        {"1 # + 5\r+ 2", 3},
        {"a.b = 2; a.b * 2", 4},
        {"x_1 = 3; _y = x_1 + 1", 4},
        {"R2 = 2; R2", 2},
    };
    for (const ValueRow& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        EXPECT_DOUBLE_EQ(calc.Run(row.text), row.expected);
    }
}

TEST(Parser, CommentSwallowsTheRestOfItsLineIncludingLaterStatements) {
    Calculator calc;
    EXPECT_EQ(calc.Run("a = 1; b = 2 # ; a = 5\n; a + b"), 3);
    EXPECT_EQ(calc.Var("a"), 1);
}

TEST(Parser, AssignsRightToLeftThroughTheFirstEquals) {
    Calculator calc;
    EXPECT_EQ(calc.Run("a = b = 3"), 3);
    EXPECT_EQ(calc.Var("a"), 3);
    EXPECT_EQ(calc.Var("b"), 3);
}

TEST(Parser, ReportsEachSyntaxErrorWithItsClassAndPositions) {
    constexpr std::int32_t kEmpty = EmptyExpressionException::kType;
    constexpr std::int32_t kSyntax = SyntaxException::kType;
    constexpr std::int32_t kUnmatched = UnmatchedParenthesisException::kType;
    constexpr std::int32_t kUnknown = UnknownTokenException::kType;
    constexpr std::int32_t kCount = InvalidArgumentCountException::kType;
    const ErrorRow rows[] = {
        {"", kEmpty, -1, -1, ""},
        {" \t# only a comment", kEmpty, -1, -1, ""},
        {"x $ 1", kUnknown, 2, 2, ""},
        {"1 + \xE4", kUnknown, 4, 4, ""},
        {"a b", kSyntax, 0, 2, ""},
        {"1e3", kSyntax, 0, 2, ""},
        {"1.5.5", kSyntax, 0, 4, ""},
        {"a.5", kSyntax, 0, 2, ""},
        {"(1 + 2", kUnmatched, 5, 5, ""},
        {"1 + 2)", kUnmatched, 5, 5, ""},
        {"min(1, (2)", kUnmatched, 9, 9, ""},
        {"()", kSyntax, 0, 1, ""},
        {"(1)(2)", kSyntax, 0, 2, ""},
        {"abs(1)2", kSyntax, 3, 5, ""},
        {"2 +", kSyntax, 0, 2, ""},
        {"* 2", kSyntax, 0, 2, ""},
        {"2 ^", kSyntax, 0, 2, ""},
        {"-", kSyntax, 0, 0, ""},
        {"+", kSyntax, -1, -1, ""},
        {"; 1", kSyntax, 0, 0, ""},
        {"1;;2", kSyntax, 2, 2, ""},
        {";", kSyntax, -1, -1, ""},
        {"a =", kSyntax, 0, 2, ""},
        {"= 3", kSyntax, 0, 2, ""},
        {"3 = 4", kSyntax, 0, 4, ""},
        {"(a) = 4", kSyntax, 0, 6, ""},
        {"x = ,", kSyntax, 4, 4, ""},
        {"&", kSyntax, 0, 0, ""},
        {"min(1,)", kSyntax, 6, 6, ""},
        {"min(,1)", kSyntax, 4, 4, ""},
        {"rand()", kSyntax, 5, 5, ""},
        {"rand(&)", kSyntax, 5, 6, ""},
        {"rand(&1)", kSyntax, 5, 7, ""},
        {"rand(&a b)", kSyntax, 5, 9, ""},
        {"foo(1)", NotFoundException::kType, 0, 2, "foo"},
        {"min(1)", kCount, 3, 5, "min"},
        {"rand(1)", kCount, 4, 6, "rand"},
        {"abs(1, 2)", kCount, 3, 8, "abs"},
        {"pol2rect(1, 2, &a)", kCount, 8, 17, "pol2rect"},
        {"rect2pol(1, 2, &a, &b, &c)", kCount, 8, 25, "rect2pol"},
        {"PI = 3", ConstantAssignException::kType, 0, 3, "PI"},
        {"rand(&PI)", ConstantReferenceException::kType, 6, 7, "PI"},
        {"x = abs(E = 1)", ConstantAssignException::kType, 8, 10, "E"},
    };
    for (const ErrorRow& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        const Exception error = calc.Fail(row.text);
        EXPECT_EQ(error.GetType(), row.type);
        EXPECT_EQ(error.GetStart(), row.start);
        EXPECT_EQ(error.GetEnd(), row.end);
        EXPECT_EQ(error.GetValue(), row.value);
    }
}

// The tokenizer ends at the null after the text; one within the text is no token.
TEST(Parser, ReportsANullWithinTheTextAsAnUnknownToken) {
    Calculator calc;
    const Exception error = calc.Fail(std::string("1 +\0 2", 6));
    EXPECT_EQ(error.GetType(), UnknownTokenException::kType);
    EXPECT_EQ(error.GetStart(), 3);
    EXPECT_EQ(error.GetEnd(), 3);
    EXPECT_EQ(calc.Run(std::string("1 + 2 # sum")), 3);
}

TEST(Parser, NeedsTheListsOnlyWhereTheTextUsesThem) {
    const ErrorRow rows[] = {
        {"x", NoValueListException::kType, 0, 0, ""},
        {"x = 1", NoValueListException::kType, 0, 0, ""},
        {"1 + abs(1)", NoFunctionListException::kType, 4, 6, ""},
    };
    for (const ErrorRow& row : rows) {
        SCOPED_TRACE(row.text);
        ExpressionObject expression;
        try {
            expression.Parse(row.text);
            ADD_FAILURE() << "nothing raised";
        } catch (const Exception& error) {
            EXPECT_EQ(error.GetType(), row.type);
            EXPECT_EQ(error.GetStart(), row.start);
            EXPECT_EQ(error.GetEnd(), row.end);
        }
    }
    ExpressionObject numbersOnly;
    numbersOnly.Parse("(1 + 2) * 3");
    EXPECT_EQ(numbersOnly.Evaluate(), 9);

    ValueList values;
    ExpressionObject withoutFunctions;
    withoutFunctions.SetValueList(&values);
    EXPECT_THROW(withoutFunctions.Parse("rand(&s)"), NoFunctionListException);
    FunctionList functions;
    functions.AddDefaultFunctions();
    ExpressionObject withoutValues;
    withoutValues.SetFunctionList(&functions);
    try {
        withoutValues.Parse("rand(&s)");
        ADD_FAILURE() << "nothing raised";
    } catch (const NoValueListException& error) {
        EXPECT_EQ(error.GetStart(), 6);
        EXPECT_EQ(error.GetEnd(), 6);
    }
}

TEST(Parser, TokenizesWithTypesNamesValuesAndPositions) {
    ExpressionObject expression;
    Parser parser(&expression);
    parser.Tokenize("ab.c=(1.5+x)#c\n;&,-*/^");

    struct TokenRow {
        TokenType type;
        std::int32_t start;
        std::int32_t end;
    };

    const TokenRow expected[] = {
        {TokenType::Identifier, 0, 3},   {TokenType::Assign, 4, 4},      {TokenType::OpenParen, 5, 5},
        {TokenType::Number, 6, 8},       {TokenType::Plus, 9, 9},        {TokenType::Identifier, 10, 10},
        {TokenType::CloseParen, 11, 11}, {TokenType::Semicolon, 15, 15}, {TokenType::Ampersand, 16, 16},
        {TokenType::Comma, 17, 17},      {TokenType::Minus, 18, 18},     {TokenType::Multiply, 19, 19},
        {TokenType::Divide, 20, 20},     {TokenType::Power, 21, 21},
    };
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(expected)); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(parser.GetToken(i).GetType(), expected[i].type);
        EXPECT_EQ(parser.GetToken(i).GetStart(), expected[i].start);
        EXPECT_EQ(parser.GetToken(i).GetEnd(), expected[i].end);
    }
    EXPECT_EQ(parser.GetName(0), "ab.c");
    EXPECT_EQ(parser.GetValue(3), 1.5);
    EXPECT_EQ(parser.GetName(5), "x");
    // Only a name has a name and only a number a value.
    EXPECT_EQ(parser.GetValue(0), 0);
    EXPECT_EQ(parser.GetName(3), "");
    EXPECT_EQ(parser.GetName(4), "");
}

TEST(Parser, PairsEachClosingParenthesisWithTheLatestUnpairedOpeningOne) {
    ExpressionObject expression;
    Parser parser(&expression);
    parser.Tokenize("(a(b)c))((x)");

    // Tokens: ( a ( b ) c ) ) ( ( x ); the stray ")" and the outer "(" of "((x)" stay unpaired.
    const std::int32_t expected[] = {6, -1, 4, -1, -1, -1, -1, -1, -1, 11, -1, -1};
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(expected)); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(parser.GetMatchingParen(i), expected[i]);
    }
}

TEST(ScanNumber, ConvertsNumberTextIndependentlyOfTheLocale) {
    const ValueRow rows[] = {
        {"0", 0},       {"42", 42},    {" \t-3.5", -3.5}, {"+2.25", 2.25}, {"12.5abc", 12.5},
        {"1.2.3", 1.2}, {".75", 0.75}, {"9.", 9},         {"", 0},         {"x", 0},
    };
    for (const ValueRow& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_DOUBLE_EQ(ScanNumber(row.text), row.expected);
    }
}

TEST(ScanNumber, KeepsAVeryLongFractionANumber) {
    EXPECT_NEAR(ScanNumber("0." + Repeat("3", 6000)), 1.0 / 3.0, 1e-15);
    EXPECT_NEAR(ScanNumber("2." + Repeat("0", 6000) + "1"), 2.0, 1e-15);
}

TEST(Parser, RaisesASyntaxErrorForOperandsNestedTooDeeply) {
    const std::string rows[] = {
        Repeat("-(", 20000) + "1" + Repeat(")", 20000),
        Repeat("abs(", 20000) + "1" + Repeat(")", 20000),
        "1" + Repeat("+1", 20000),
        Repeat("2^", 20000) + "1",
        Repeat("-", 20000) + "1",
        Repeat("(1;", 20000) + "1" + Repeat(")", 20000),
        "0" + Repeat("+1", Parser::kMaxDepth),
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text.substr(0, 12));
        Calculator calc;
        EXPECT_EQ(calc.Fail(text).GetType(), SyntaxException::kType);
    }
}

TEST(Parser, HandlesWideAndParenthesisedInputWithoutDepth) {
    Calculator calc;
    EXPECT_EQ(calc.Run(Repeat("(", 100000) + "7" + Repeat(")", 100000)), 7);
    EXPECT_EQ(calc.Run(Repeat("n = n + 1;", 20000)), 20000);
    EXPECT_EQ(calc.Run("max(" + Repeat("1, ", 20000) + "2)"), 2);
    const int sumOfTerms = Parser::kMaxDepth - 1;
    EXPECT_EQ(calc.Run("0" + Repeat("+1", sumOfTerms)), sumOfTerms);
}
