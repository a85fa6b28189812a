// Parse-tree evaluation: variables, assignment, the order in which operands are
// evaluated, and the errors that evaluation raises.
#include "Calculator.h"
#include "expr/ExprEval.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

using namespace ExprEval;

TEST(Nodes, AssignmentStoresAndYieldsTheValue) {
    Calculator calc;
    EXPECT_EQ(calc.Run("x = 5; x * 2"), 10);
    EXPECT_EQ(calc.Var("x"), 5);
}

TEST(Nodes, UnknownNamesBecomeVariablesWithZeroWhileParsing) {
    Calculator calc;
    calc.Expression().Parse("y + 1");
    ASSERT_NE(calc.Values().GetAddress("y"), nullptr);
    EXPECT_EQ(calc.Var("y"), 0);
    EXPECT_FALSE(calc.Values().IsConstant("y"));
    calc.Var("y") = 41;
    EXPECT_EQ(calc.Expression().Evaluate(), 42);
}

TEST(Nodes, ReferenceToANewNameAddsIt) {
    Calculator calc;
    EXPECT_EQ(calc.Run("rect2pol(3, 4, &d, &a)"), 5);
    EXPECT_EQ(calc.Var("d"), 5);
    EXPECT_DOUBLE_EQ(calc.Var("a"), 0.9272952180016122);
}

TEST(Nodes, VariablesKeepTheirValuesBetweenEvaluations) {
    Calculator calc;
    calc.Expression().Parse("n = n + 1");
    for (int i = 0; i < 3; ++i) {
        calc.Expression().Evaluate();
    }
    EXPECT_EQ(calc.Var("n"), 3);
}

TEST(Nodes, EvaluateOperandsInTheirDefinedOrder) {
    struct Row {
        const char* text;
        double result;
        double a;
    };

    const Row rows[] = {
        {"(a = 2) + (a = 3)", 5, 2}, {"(a = 2) * (a = 3)", 6, 2}, {"(a = 2) - (a = 3)", -1, 3},
        {"(a = 6) / (a = 3)", 2, 6}, {"(a = 2) ^ (a = 3)", 8, 3}, {"-(a = 4)", -4, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        EXPECT_EQ(calc.Run(row.text), row.result);
        EXPECT_EQ(calc.Var("a"), row.a);
    }
}

TEST(Nodes, DivisionByZeroOrNotANumberRaisesBeforeTheDividendIsEvaluated) {
    Calculator calc;
    EXPECT_EQ(calc.Run("0 / 1"), 0);
    EXPECT_EQ(calc.Run("1 / -0.5"), -2);
    EXPECT_EQ(calc.Fail("1 / 0").GetType(), DivideByZeroException::kType);
    EXPECT_EQ(calc.Fail("(a = 7) / (b = 0)").GetType(), DivideByZeroException::kType);
    EXPECT_EQ(calc.Var("a"), 0);
    calc.Var("nan") = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(calc.Fail("1 / nan").GetType(), DivideByZeroException::kType);
}

TEST(Nodes, PowerRaisesOnDomainAndRangeErrorsButNotOnUnderflow) {
    struct Row {
        const char* text;
        bool raises;
        double result;
    };

    const Row rows[] = {
        {"(-8) ^ (1/3)", true, 0}, {"0 ^ -1", true, 0}, {"10 ^ 400", true, 0}, {"10 ^ -400", false, 0},
        {"(-8) ^ 3", false, -512}, {"0 ^ 0", false, 1}, {"4 ^ 0.5", false, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Calculator calc;
        if (!row.raises) {
            EXPECT_EQ(calc.Run(row.text), row.result);
            continue;
        }
        const Exception error = calc.Fail(row.text);
        EXPECT_EQ(error.GetType(), MathException::kType);
        EXPECT_EQ(error.GetValue(), "^");
    }
}

TEST(Nodes, AnErrorLeavesEarlierAssignmentsInPlace) {
    Calculator calc;
    EXPECT_EQ(calc.Fail("a = 1; b = 1 / 0; c = 1").GetType(), DivideByZeroException::kType);
    EXPECT_EQ(calc.Var("a"), 1);
    EXPECT_EQ(calc.Var("b"), 0);
    EXPECT_EQ(calc.Var("c"), 0);
}

TEST(Nodes, ArithmeticBeyondTheDoubleRangeGivesInfinityNotAnError) {
    Calculator calc;
    EXPECT_EQ(calc.Run("x = 10 ^ 300; x * x"), std::numeric_limits<double>::infinity());
}
