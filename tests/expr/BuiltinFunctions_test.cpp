// The 42 built-in functions: values for ordinary and edge arguments, argument counts,
// evaluation order, NaN handling, math errors and the pseudo-random generator.
#include "Calculator.h"
#include "expr/ExprEval.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

using namespace ExprEval;

namespace {

constexpr double kPi = 3.141592653589793;

struct ValueRow {
    const char* text;
    double expected;
};

struct CountRow {
    const char* name;
    std::int32_t minValues;
    std::int32_t maxValues;  // -1: no limit
    std::int32_t minReferences;
    std::int32_t maxReferences;
};

// A call of name with the given numbers of value and reference arguments.
std::string Call(const std::string& name, std::int32_t values, std::int32_t references) {
    std::string text = name + "(";
    for (std::int32_t i = 0; i < values + references; ++i) {
        text += i == 0 ? "" : ", ";
        text += i < values ? "1" : "&r" + std::to_string(i);
    }
    return text + ")";
}

// Transcendental results may differ in the last bits between C runtimes.
void ExpectClose(double actual, double expected) {
    EXPECT_NEAR(actual, expected, 1e-12 * std::fmax(1.0, std::fabs(expected)));
}

}  // namespace

TEST(BuiltinFunctions, ComputeTheirValues) {
    const ValueRow rows[] = {
        {"abs(-2.5)", 2.5},
        {"abs(3)", 3},
        {"mod(7, 3)", 1},
        {"mod(-7, 3)", -1},
        {"mod(7, -3)", 1},
        {"mod(5.5, 2)", 1.5},
        {"ipart(-2.5)", -2},
        {"ipart(2.7)", 2},
        {"fpart(-2.5)", -0.5},
        {"fpart(2.25)", 0.25},
        {"min(1, 2, 3)", 1},
        {"min(3, 1, 2)", 1},
        {"max(1, 5, 3)", 5},
        {"max(-1, -2)", -1},
        // More arguments than the room first reserved for an unlimited count, in a call
        // that region parsing builds (the sign makes it so) and in one built in one pass.
        {"max(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, -18)", 17},
        {"min(18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1)", 1},
        {"sqrt(16)", 4},
        {"sqrt(0)", 0},
        {"sin(0)", 0},
        {"sin(PI / 2)", 1},
        {"cos(0)", 1},
        {"cos(PI)", -1},
        {"tan(PI / 4)", 1},
        {"sinh(0)", 0},
        {"sinh(1)", 1.1752011936438014},
        {"cosh(1)", 1.5430806348152437},
        {"tanh(1)", 0.7615941559557649},
        {"asin(1)", kPi / 2},
        {"acos(1)", 0},
        {"acos(-1)", kPi},
        {"atan(1)", kPi / 4},
        {"atan(-1)", -kPi / 4},
        {"atan2(1, -1)", 3 * kPi / 4},
        {"atan2(-1, -1)", -3 * kPi / 4},
        {"atan2(0, 0)", 0},
        {"log(1000)", 3},
        {"log(0.01)", -2},
        {"ln(E)", 1},
        {"ln(1)", 0},
        {"exp(0)", 1},
        {"exp(1)", 2.718281828459045},
        {"exp(-1000)", 0},
        {"logn(8, 2)", 3},
        {"logn(100, 10)", 2},
        {"ceil(1.2)", 2},
        {"ceil(-1.2)", -1},
        {"floor(-1.2)", -2},
        {"floor(1.8)", 1},
        {"deg(PI)", 180},
        {"rad(180)", kPi},
        {"if(1, 2, 3)", 2},
        {"if(0, 2, 3)", 3},
        {"if(-0.5, 2, 3)", 2},
        {"select(-1, 10, 20, 30)", 10},
        {"select(0, 10, 20, 30)", 20},
        {"select(5, 10, 20, 30)", 30},
        {"select(5, 10, 20)", 20},
        {"equal(2, 2)", 1},
        {"equal(2, 3)", 0},
        {"above(3, 2)", 1},
        {"above(2, 2)", 0},
        {"below(2, 3)", 1},
        {"below(2, 2)", 0},
        {"clip(5, 0, 3)", 3},
        {"clip(-1, 0, 3)", 0},
        {"clip(2, 0, 3)", 2},
        {"clamp(370, 0, 360)", 10},
        {"clamp(-10, 0, 360)", 350},
        {"clamp(5, 3, 3)", 3},
        {"rescale(5, 0, 10, 0, 100)", 50},
        {"rescale(5, 1, 1, 7, 9)", 7},
        {"poly(2, 1, 0, 1)", 5},
        {"poly(2, 1, 1, 1, 1, 1, 1, 1)", 127},
        {"poly(3, 7)", 7},
        {"poly(0, 1, 2)", 2},
        {"and(1, 2)", 1},
        {"and(1, 0)", 0},
        {"or(0, 0)", 0},
        {"or(0, -3)", 1},
        {"not(0)", 1},
        {"not(5)", 0},
        {"rect2pol(0, -1, &d, &a)", 1},
        {"pol2rect(2, 0, &x, &y)", 2},
    };
    for (const ValueRow& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        ExpectClose(calc.Run(row.text), row.expected);
    }
}

TEST(BuiltinFunctions, CheckTheirArgumentCounts) {
    constexpr std::int32_t kAny = -1;
    const CountRow rows[] = {
        {"abs", 1, 1, 0, 0},      {"mod", 2, 2, 0, 0},       {"ipart", 1, 1, 0, 0},   {"fpart", 1, 1, 0, 0},
        {"min", 2, kAny, 0, 0},   {"max", 2, kAny, 0, 0},    {"sqrt", 1, 1, 0, 0},    {"sin", 1, 1, 0, 0},
        {"cos", 1, 1, 0, 0},      {"tan", 1, 1, 0, 0},       {"sinh", 1, 1, 0, 0},    {"cosh", 1, 1, 0, 0},
        {"tanh", 1, 1, 0, 0},     {"asin", 1, 1, 0, 0},      {"acos", 1, 1, 0, 0},    {"atan", 1, 1, 0, 0},
        {"atan2", 2, 2, 0, 0},    {"log", 1, 1, 0, 0},       {"ln", 1, 1, 0, 0},      {"exp", 1, 1, 0, 0},
        {"logn", 2, 2, 0, 0},     {"ceil", 1, 1, 0, 0},      {"floor", 1, 1, 0, 0},   {"rand", 0, 0, 1, 1},
        {"random", 2, 2, 1, 1},   {"randomize", 0, 0, 1, 1}, {"deg", 1, 1, 0, 0},     {"rad", 1, 1, 0, 0},
        {"rect2pol", 2, 2, 2, 2}, {"pol2rect", 2, 2, 2, 2},  {"if", 3, 3, 0, 0},      {"select", 3, 4, 0, 0},
        {"equal", 2, 2, 0, 0},    {"above", 2, 2, 0, 0},     {"below", 2, 2, 0, 0},   {"clip", 3, 3, 0, 0},
        {"clamp", 3, 3, 0, 0},    {"rescale", 5, 5, 0, 0},   {"poly", 2, kAny, 0, 0}, {"and", 2, 2, 0, 0},
        {"or", 2, 2, 0, 0},       {"not", 1, 1, 0, 0},
    };
    ASSERT_EQ(std::size(rows), 42u);
    for (const CountRow& row : rows) {
        const std::int32_t valuesAbove = row.maxValues == kAny ? row.minValues + 5 : row.maxValues + 1;
        const std::string accepted[] = {
            Call(row.name, row.minValues, row.minReferences),
            Call(row.name, row.maxValues == kAny ? row.minValues + 5 : row.maxValues, row.maxReferences),
        };
        for (const std::string& text : accepted) {
            SCOPED_TRACE(text);
            Calculator calc;
            EXPECT_NO_THROW(calc.Expression().Parse(text));
        }
        std::string rejected[] = {
            Call(row.name, row.minValues - 1, row.minReferences),
            Call(row.name, valuesAbove, row.minReferences),
            Call(row.name, row.minValues, row.minReferences - 1),
            Call(row.name, row.minValues, row.maxReferences + 1),
        };
        const bool applies[] = {row.minValues > 0, row.maxValues != kAny, row.minReferences > 0, true};
        for (std::size_t i = 0; i < std::size(rejected); ++i) {
            // A call needs at least one argument to be written at all.
            if (!applies[i] || rejected[i].back() == '(' || rejected[i].find("()") != std::string::npos) {
                continue;
            }
            SCOPED_TRACE(rejected[i]);
            Calculator calc;
            const Exception error = calc.Fail(rejected[i]);
            EXPECT_EQ(error.GetType(), InvalidArgumentCountException::kType);
            EXPECT_EQ(error.GetValue(), row.name);
        }
    }
}

TEST(BuiltinFunctions, EvaluateOnlyTheArgumentsTheyNeedInOrder) {
    struct Row {
        const char* text;
        double result;
        double a;
    };

    const Row rows[] = {
        {"if(0, 1/0, 2)", 2, 0},
        {"if(1, 2, 1/0)", 2, 0},
        {"and(0, 1/0)", 0, 0},
        {"or(1, 1/0)", 1, 0},
        {"select(-1, 10, 1/0, 1/0)", 10, 0},
        {"select(0, 1/0, 20, 1/0)", 20, 0},
        {"select(1, 1/0, 1/0, 30)", 30, 0},
        {"if((a = 1), (a = 2), (a = 3))", 2, 2},
        {"logn((a = 2) + 6, (a = 3) - 1)", 3, 2},
        {"min((a = 1), (a = 2), (a = 3))", 1, 3},
        {"clip(-1, 0, (a = 3))", 0, 3},
        {"rescale(5, 0, 10, 0, (a = 100))", 50, 100},
        {"poly((a = 2), (a = 1), (a = 3))", 5, 3},
        {"random((a = 1), (a = 1), &s)", 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        EXPECT_EQ(calc.Run(row.text), row.result);
        EXPECT_EQ(calc.Var("a"), row.a);
    }
}

TEST(BuiltinFunctions, TreatNotANumberAsFalseAndAsEqual) {
    const ValueRow rows[] = {
        {"if(n, 1, 2)", 2}, {"not(n)", 1},      {"equal(n, 1)", 1},
        {"equal(1, n)", 1}, {"above(n, 1)", 0}, {"below(n, 1)", 0},
        {"and(n, 1)", 0},   {"or(n, 0)", 0},    {"select(n, 10, 20, 30)", 10},
        {"min(1, n)", 1},   {"max(1, n)", 1},
    };
    for (const ValueRow& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        calc.Var("n") = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(calc.Run(row.text), row.expected);
    }
    Calculator calc;
    calc.Var("n") = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(calc.Run("min(n, 1)")));
    EXPECT_TRUE(std::isnan(calc.Run("sqrt(n)")));  // a NaN argument is no domain error
}

TEST(BuiltinFunctions, RaiseMathErrorsNamedAfterTheFunction) {
    struct Row {
        const char* text;
        const char* name;
    };

    const Row rows[] = {
        {"sqrt(-1)", "sqrt"},
        {"asin(2)", "asin"},
        {"acos(-2)", "acos"},
        {"log(0)", "log"},
        {"log(-1)", "log"},
        {"ln(0)", "ln"},
        {"ln(-1)", "ln"},
        {"exp(1000)", "exp"},
        {"sinh(1000)", "sinh"},
        {"cosh(-1000)", "cosh"},
        {"mod(7, 0)", "mod"},
        {"logn(8, 1)", "logn"},
        {"logn(8, 0)", "logn"},
        {"logn(-8, 2)", "logn"},
        {"sin(inf)", "sin"},
        {"cos(inf)", "cos"},
        {"tan(inf)", "tan"},
        {"poly(10 ^ 200, 1, 0, 0)", "poly"},
        {"pol2rect(1, inf, &x, &y)", "pol2rect"},
        {"mod(inf, 2)", "mod"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        calc.Var("inf") = std::numeric_limits<double>::infinity();
        const Exception error = calc.Fail(row.text);
        EXPECT_EQ(error.GetType(), MathException::kType);
        EXPECT_EQ(error.GetValue(), row.name);
    }
}

TEST(BuiltinFunctions, LeaveInfiniteArgumentsWithoutAnError) {
    const ValueRow rows[] = {
        {"exp(inf)", std::numeric_limits<double>::infinity()},
        {"exp(-inf)", 0},
        {"atan(inf)", kPi / 2},
        {"tanh(inf)", 1},
        {"sqrt(inf)", std::numeric_limits<double>::infinity()},
    };
    for (const ValueRow& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        calc.Var("inf") = std::numeric_limits<double>::infinity();
        EXPECT_EQ(calc.Run(row.text), row.expected);
    }
}

TEST(BuiltinFunctions, ConvertPolarAndRectangularCoordinatesThroughReferences) {
    Calculator calc;
    EXPECT_EQ(calc.Run("rect2pol(0, -1, &d, &a)"), 1);
    EXPECT_EQ(calc.Var("d"), 1);
    ExpectClose(calc.Var("a"), 3 * kPi / 2);
    ExpectClose(calc.Run("rect2pol(1, 0, &d, &a)"), 1);
    EXPECT_EQ(calc.Var("a"), 0);
    ExpectClose(calc.Run("pol2rect(2, PI / 2, &x, &y)"), 0);
    ExpectClose(calc.Var("x"), 0);
    ExpectClose(calc.Var("y"), 2);
}

TEST(BuiltinFunctions, DrawTheDocumentedPseudoRandomSequence) {
    Calculator calc;
    calc.Expression().Parse("rand(&s)");

    const struct {
        double seed;
        int draw;
    } expected[] = {
        {2531011, 38}, {505908858, 7719}, {-755606699, 21238}, {159719620, 2437}, {-1567142793, 8855},
    };

    for (const auto& step : expected) {
        SCOPED_TRACE(step.seed);
        EXPECT_DOUBLE_EQ(calc.Expression().Evaluate(), step.draw / 32767.0);
        EXPECT_EQ(calc.Var("s"), step.seed);
    }
    calc.Var("s") = 0;
    EXPECT_DOUBLE_EQ(calc.Run("random(10, 20, &s)"), 10 + 10 * 38 / 32767.0);
    EXPECT_EQ(calc.Var("s"), 2531011);
}

TEST(BuiltinFunctions, AcceptAnySeedValue) {
    struct Row {
        double seed;
        double next;
    };

    const Row rows[] = {
        {-1, 2316998},
        {-2.5, 2102985},
        {4294967296.0 + 5, 3601076},
        {1e300, 2531011},
        {std::numeric_limits<double>::quiet_NaN(), 2531011},
        {std::numeric_limits<double>::infinity(), 2531011},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seed);
        Calculator calc;
        calc.Var("s") = row.seed;
        calc.Run("rand(&s)");
        EXPECT_EQ(calc.Var("s"), row.next);
    }
}

TEST(BuiltinFunctions, RandomizeWritesAFreshSeedEachCall) {
    Calculator calc;
    EXPECT_EQ(calc.Run("randomize(&s)"), 0);
    const double first = calc.Var("s");
    calc.Expression().Evaluate();
    const double second = calc.Var("s");
    for (double seed : {first, second}) {
        EXPECT_GE(seed, 0);
        EXPECT_LT(seed, 2176971487.0);
        EXPECT_EQ(seed, std::trunc(seed));
    }
    EXPECT_NE(first, second);
}

TEST(TruncateToUint32, IsDefinedForEveryValue) {
    struct Row {
        double value;
        std::uint32_t expected;
    };

    const Row rows[] = {
        {3.9, 3},
        {-0.9, 0},
        {-1, 4294967295u},
        {256, 256},
        {4294967296.0 + 7, 7},
        {-2147483648.0, 2147483648u},
        {9007199254740993.0, 0},
        {1e300, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
        {-std::numeric_limits<double>::infinity(), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(TruncateToUint32(row.value), row.expected);
    }
}
