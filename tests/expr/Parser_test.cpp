// Tokenizer and parser: precedence, signs, comments, number and name syntax, and the
// exception and character positions of every place where the grammar can fail.
#include "expr/Parser.h"

#include "Calculator.h"
#include "expr/ExprEval.h"
#include "expr/ScanNumber.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

// Parses and evaluates each row's text with the default lists and checks the error.
template <std::size_t N>
void ExpectEachError(const ErrorRow (&rows)[N]) {
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
    ExpectEachError(rows);
}

// A statement list is parsed with fewer scans than other regions: each error in it
// must still be found first and reported where a scan of every region would find it.
TEST(Parser, ReportsAnErrorInAStatementListWhereAScanOfEveryRegionFindsIt) {
    constexpr std::int32_t kSyntax = SyntaxException::kType;
    constexpr std::int32_t kUnmatched = UnmatchedParenthesisException::kType;
    constexpr std::int32_t kConstant = ConstantAssignException::kType;
    const ErrorRow rows[] = {
        {"x = 1; y = (2", kUnmatched, 12, 12, ""},
        {"x = 1; y = 2)", kUnmatched, 12, 12, ""},
        {"x = (1; y = 2", kUnmatched, 12, 12, ""},
        {"x = 1; )y = 2(", kUnmatched, 7, 7, ""},
        {"PI = 1; x = (2", kUnmatched, 13, 13, ""},
        {"x = 1; PI = (1", kUnmatched, 13, 13, ""},
        {"x = 1; PI = 2", kConstant, 7, 10, "PI"},
        {"x = 1; E = 2; y", kConstant, 7, 9, "E"},
        {"x = 1; 3 = 4", kSyntax, 7, 11, ""},
        {"x = 1; (y) = 2", kSyntax, 7, 13, ""},
        {"x = 1; y = ; z = 2", kSyntax, 7, 9, ""},
        {"x = 1;; y = 2", kSyntax, 6, 6, ""},
        {"x = 1; y = (2; z) = 3", kSyntax, 11, 20, ""},
        {"x = 1; y = 2 3", kSyntax, 11, 13, ""},
        {"x = 1; y = min(1); z", InvalidArgumentCountException::kType, 14, 16, "min"},
        {"x = 1; y = rand(&PI)", ConstantReferenceException::kType, 17, 18, "PI"},
    };
    ExpectEachError(rows);
    const ValueRow values[] = {
        {"x = 1; y = z = 2; y + z", 4},
        {"a = (1; b = 2); a + b", 4},
        {"x = 1; y = 2;", 2},
        {"x = 1\n; y = 2 # c\n; x + y", 3},
    };
    for (const ValueRow& row : values) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        EXPECT_EQ(calc.Run(row.text), row.expected);
    }
}

// An assignment in a statement list counts toward the nesting limit as in any region.
TEST(Parser, CountsTheNestingOfAssignmentsInStatementListsTowardTheLimit) {
    const auto nested = [](int levels) { return Repeat("a = 1; b = (", levels) + "1" + Repeat(")", levels); };
    Calculator calc;
    EXPECT_EQ(calc.Run(nested(99)), 1);
    const Exception error = calc.Fail(nested(100));
    EXPECT_EQ(error.GetType(), SyntaxException::kType);
    EXPECT_EQ(error.GetStart(), 1192);
    EXPECT_EQ(error.GetEnd(), 1192);
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
        // Whole numbers on both sides of 15 digits, and digits past them before a fraction.
        {"999999999999999", 999999999999999.0},
        {"12345678901234567", 12345678901234567.0},
        {"18446744073709551616", 18446744073709551616.0},
        {"-123456789012345678.25", -123456789012345678.25},
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

namespace {

// The shapes of the conversion programs and their near misses, against a value list
// like a conversion's: the bytes b0..b3 and the values v0..v3 with distinct values, so
// that a wrong precedence, association or operand shows in the result.
class ConversionCalculator : public Calculator {
public:
    ConversionCalculator() {
        const std::pair<const char*, double> inputs[] = {
            {"b0", 3}, {"b1", 5}, {"b2", 7}, {"b3", 11}, {"v0", 2}, {"v1", 13}, {"v2", 17}, {"v3", 19},
        };
        for (const auto& [name, value] : inputs) {
            Values().Add(name, value, false);
        }
        m_listed = Values().Count();
    }

    // The names parsing added to the list, in order, separated by blanks.
    std::string AddedNames() {
        std::string names;
        for (std::size_t i = m_listed; i < Values().Count(); ++i) {
            std::string name;
            Values().Item(i, &name, nullptr);
            names += (names.empty() ? "" : " ") + name;
        }
        return names;
    }

private:
    std::size_t m_listed = 0;
};

struct ProgramRow {
    std::string text;
    double expected;  // when type is 0
    std::int32_t type;
    std::int32_t start;
    std::int32_t end;
    const char* value;
    const char* added;
};

// "v0 = b0 + b0 + ...": terms * 2 + 1 tokens.
std::string LongSum(int terms) {
    return "v0 = b0" + Repeat(" + b0", terms - 1);
}

constexpr double kE = 2.718281828459045;
constexpr double kPi = 3.141592653589793;

}  // namespace

TEST(Parser, BuildsTheConversionProgramsAndRefusesTheirNearMisses) {
    constexpr std::int32_t kSyntax = SyntaxException::kType;
    constexpr std::int32_t kUnmatched = UnmatchedParenthesisException::kType;
    constexpr std::int32_t kUnknown = UnknownTokenException::kType;
    const ProgramRow rows[] = {
        // Precedence and left association, groups, calls, comments and a trailing ";".
        {"v0 = b0*256 + b1", 773, 0, 0, 0, "", ""},
        {"b0 = ipart(v0/256); b1 = mod(v0, 256)", 2, 0, 0, 0, "", ""},
        {"v0 = if(below(b0, 128), b0, b0 - 256)", 3, 0, 0, 0, "", ""},
        {"v0 = 5000*(b0*256 + b1)/65535; v1 = b2*256 + b3;", 1803, 0, 0, 0, "", ""},
        {"b0 - b1 - b2 + b3 * 2 / 4 * b0 - 1", 6.5, 0, 0, 0, "", ""},
        {"((b0 + 1)) * ((b1))", 20, 0, 0, 0, "", ""},
        {"max(1, 2, 3, b0 + b1 * 2)", 13, 0, 0, 0, "", ""},
        {"v0 = (b0 - (b1 - (b2 - b3)))", -6, 0, 0, 0, "", ""},
        {"E * PI", kE * kPi, 0, 0, 0, "", ""},
        {"poly(2, v3, v2, v1, v0)", 248, 0, 0, 0, "", ""},
        {"b0 / 0", 0, DivideByZeroException::kType, -1, -1, "", ""},
        {"v0 = b0 # the high byte\n + b1", 8, 0, 0, 0, "", ""},
        {"v0 # the target\n = b1; # and nothing after\n", 5, 0, 0, 0, "", ""},
        {LongSum(99), 297, 0, 0, 0, "", ""},
        {LongSum(99) + "; b1", 5, 0, 0, 0, "", ""},
        {LongSum(100), 300, 0, 0, 0, "", ""},
        // Signs, powers, chained and new targets, new names, references.
        {"v0 = -b0", -3, 0, 0, 0, "", ""},
        {"b0 * -1", -3, 0, 0, 0, "", ""},
        {"2^3^2", 64, 0, 0, 0, "", ""},
        {"v0 = v1 = 3", 3, 0, 0, 0, "", ""},
        {"x = b0", 3, 0, 0, 0, "", "x"},
        {"b0 + y", 3, 0, 0, 0, "", "y"},
        {"+b0", 3, 0, 0, 0, "", ""},
        {"rect2pol(1, 2, &v0, &v1)", std::sqrt(5.0), 0, 0, 0, "", ""},
        // Errors, each with its class, positions and value.
        {"PI = 3", 0, ConstantAssignException::kType, 0, 3, "PI", ""},
        {"(b0", 0, kUnmatched, 1, 2, "", ""},
        {"b0)", 0, kUnmatched, 2, 2, "", ""},
        {"b0 b1", 0, kSyntax, 0, 4, "", ""},
        {";b0", 0, kSyntax, 0, 0, "", ""},
        {"b0;;b1", 0, kSyntax, 3, 3, "", ""},
        {"max()", 0, kSyntax, 4, 4, "", ""},
        {"max(1,)", 0, kSyntax, 6, 6, "", ""},
        {"max(,1)", 0, kSyntax, 4, 4, "", ""},
        {"mod(1)", 0, InvalidArgumentCountException::kType, 3, 5, "mod", ""},
        {"nosuch(1)", 0, NotFoundException::kType, 0, 5, "nosuch", ""},
        {"max(b0; b1)", 0, InvalidArgumentCountException::kType, 3, 10, "max", ""},
        {"()", 0, kSyntax, 0, 1, "", ""},
        {"(b0)(b1)", 0, kSyntax, 0, 3, "", ""},
        {"f(b0) = 1", 0, kSyntax, 0, 8, "", ""},
        {"b0 + ", 0, kSyntax, 0, 3, "", ""},
        {"b0, b1", 0, kSyntax, 0, 5, "", ""},
        {"b0 $ b1", 0, kUnknown, 3, 3, "", ""},
        {"b0 + b1 @", 0, kUnknown, 8, 8, "", ""},
        {std::string("b0 +\0 b1", 8), 0, kUnknown, 4, 4, "", ""},
    };
    for (const ProgramRow& row : rows) {
        SCOPED_TRACE(row.text);
        ConversionCalculator calc;
        if (row.type == 0) {
            EXPECT_DOUBLE_EQ(calc.Run(row.text), row.expected);
        } else {
            const Exception error = calc.Fail(row.text);
            EXPECT_EQ(error.GetType(), row.type);
            EXPECT_EQ(error.GetStart(), row.start);
            EXPECT_EQ(error.GetEnd(), row.end);
            EXPECT_EQ(error.GetValue(), row.value);
        }
        EXPECT_EQ(calc.AddedNames(), row.added);
    }
    ConversionCalculator calc;
    calc.Run("rect2pol(1, 2, &v0, &v1)");
    EXPECT_DOUBLE_EQ(calc.Var("v0"), std::sqrt(5.0));
    EXPECT_DOUBLE_EQ(calc.Var("v1"), std::atan2(2.0, 1.0));
}

// A long sum nests one operand region per "+" to its left, and a call or a sum in
// parentheses one per level: programs within the nesting limit parse and give their
// value, deeper ones raise SyntaxException over the first region past the limit.
TEST(Parser, NestsSumsAndCallsUpToTheLimitOnly) {
    for (const int terms : {150, 197, 198, 199, 200, 201, 260}) {
        SCOPED_TRACE(terms);
        // Every third operator a product, which binds its operand to the term before.
        std::string sum = "v0 = b0";
        double lastTerm = 5;
        double expected = 3;
        for (int i = 1; i < terms; ++i) {
            if (i % 3 == 0) {
                sum += " * b1";
                expected += lastTerm * 4;
                lastTerm *= 5;
            } else {
                sum += " + b1";
                expected += 5;
                lastTerm = 5;
            }
        }
        ConversionCalculator sums;
        EXPECT_DOUBLE_EQ(sums.Run(sum), expected);

        // The text of each level from the innermost out; level k holds k wraps.
        std::vector<std::string> levels = {"b0"};
        for (int i = 0; i < terms; ++i) {
            levels.push_back((i % 2 == 0 ? "abs(" : "(b1 + ") + levels.back() + ")");
        }
        const std::string& nested = levels.back();
        ConversionCalculator calls;
        if (terms < Parser::kMaxDepth) {
            EXPECT_DOUBLE_EQ(calls.Run(nested), 3 + 5 * (terms / 2));
            continue;
        }
        // The whole text is the first region, and each level's operands are a region
        // deeper. Level k ends as many ")" before the end of the text as it has levels
        // around it. The first region past the limit is the left operand "b1" of a sum
        // at the limit's depth, or else the argument of the call there.
        const auto endOf = [&](int level) {
            return static_cast<std::int32_t>(nested.size()) - 1 - (terms - level);
        };
        const auto startOf = [&](int level) {
            return endOf(level) - static_cast<std::int32_t>(levels[static_cast<std::size_t>(level)].size()) +
                   1;
        };
        const int deepest = terms - Parser::kMaxDepth + 1;
        const bool inSum = levels[static_cast<std::size_t>(deepest)][0] == '(';
        const std::int32_t start = inSum ? startOf(deepest) + 1 : startOf(deepest - 1);
        const std::int32_t end = inSum ? start + 1 : endOf(deepest - 1);
        const Exception error = calls.Fail(nested);
        EXPECT_EQ(error.GetType(), SyntaxException::kType);
        EXPECT_EQ(error.GetStart(), start);
        EXPECT_EQ(error.GetEnd(), end);
    }
}
