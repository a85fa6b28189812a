// The one-pass builder of plain programs must build exactly what region parsing builds,
// and must leave every other program to region parsing untouched: same results, same
// errors at the same places, same variables added.
#include "expr/PlainBuilder.h"

#include "ParseOutcome.h"
#include "expr/ExprEval.h"
#include "expr/NameIndex.h"
#include "expr/NodeArena.h"
#include "expr/NodeArenaScope.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace {

struct Case {
    std::string text;
    bool plain;
};

// "v0 = b0 + b0 + ...": terms * 2 + 1 tokens.
std::string LongSum(int terms) {
    std::string sum = "v0 = b0";
    for (int i = 1; i < terms; ++i) {
        sum += " + b0";
    }
    return sum;
}

const Case kCases[] = {
    // Plain: the conversion programs' shapes, precedence and left association, groups.
    {"v0 = b0*256 + b1", true},
    {"b0 = ipart(v0/256); b1 = mod(v0, 256)", true},
    {"v0 = if(below(b0, 128), b0, b0 - 256)", true},
    {"v0 = 5000*(b0*256 + b1)/65535; v1 = b2*256 + b3;", true},
    {"b0 - b1 - b2 + b3 * 2 / 4 * b0 - 1", true},
    {"((b0 + 1)) * ((b1))", true},
    {"max(1, 2, 3, b0 + b1 * 2)", true},
    {"v0 = (b0 - (b1 - (b2 - b3)))", true},
    {"E * PI", true},
    {"poly(2, v3, v2, v1, v0)", true},
    {"b0 / 0", true},
    {"v0 = b0 # the high byte\n + b1", true},
    {"v0 # the target\n = b1; # and nothing after\n", true},
    // A statement is built here up to 199 tokens, which region parsing can never
    // nest past its limit; a longer one is left to it.
    {LongSum(99), true},
    {LongSum(99) + "; b1", true},
    {LongSum(100), false},
    // Not plain: left to region parsing, which builds or refuses them.
    {"v0 = -b0", false},
    {"b0 * -1", false},
    {"2^3^2", false},
    {"v0 = v1 = 3", false},
    {"x = b0", false},
    {"b0 + y", false},
    {"PI = 3", false},
    {"(b0", false},
    {"b0)", false},
    {"b0 b1", false},
    {";b0", false},
    {"b0;;b1", false},
    {"max()", false},
    {"max(1,)", false},
    {"max(,1)", false},
    {"mod(1)", false},
    {"nosuch(1)", false},
    {"rect2pol(1, 2, &v0, &v1)", false},
    {"max(b0; b1)", false},
    {"()", false},
    {"(b0)(b1)", false},
    {"f(b0) = 1", false},
    {"b0 + ", false},
    {"b0, b1", false},
    {"+b0", false},
    {"b0 $ b1", false},
    {"b0 + b1 @", false},
    {std::string("b0 +\0 b1", 8), false},
};

TEST(PlainBuilder, BuildsWhatRegionParsingBuildsAndLeavesTheRestToIt) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(ExprTest::Outcome(c.text, false) == ExprTest::Outcome(c.text, true));

        ExprEval::ValueList values;
        values.AddDefaultValues();
        for (const char* name : {"b0", "b1", "b2", "b3", "v0", "v1", "v2", "v3"}) {
            values.Add(name, 0, false);
        }
        ExprEval::FunctionList functions;
        functions.AddDefaultFunctions();
        ExprEval::ExpressionObject expression;
        expression.SetValueList(&values);
        expression.SetFunctionList(&functions);
        const std::string padded = c.text + std::string(ExprEval::NameIndex::kPadding, '\0');
        const std::size_t listed = values.Count();
        const std::string_view text(padded.data(), padded.size() - ExprEval::NameIndex::kPadding);
        ExprEval::NodeArena arena;
        const ExprEval::NodeArenaScope scope(arena);
        EXPECT_EQ(ExprEval::PlainBuilder(text, &expression).Build() != nullptr, c.plain);
        EXPECT_EQ(values.Count(), listed);
    }
}

// Region parsing refuses regions nested deeper than its limit, and a long sum nests one
// region per sign: the builder must refuse exactly the same programs.
TEST(PlainBuilder, RefusesWhatRegionParsingRefusesForDepth) {
    for (const int terms : {150, 197, 198, 199, 200, 201, 260}) {
        std::string sum = "v0 = b0";
        for (int i = 1; i < terms; ++i) {
            sum += i % 3 == 0 ? " * b1" : " + b1";
        }
        SCOPED_TRACE(terms);
        EXPECT_TRUE(ExprTest::Outcome(sum, false) == ExprTest::Outcome(sum, true));
        std::string nested = "b0";
        for (int i = 0; i < terms; ++i) {
            nested = (i % 2 == 0 ? "abs(" : "(b1 + ") + nested + ")";
        }
        EXPECT_TRUE(ExprTest::Outcome(nested, false) == ExprTest::Outcome(nested, true));
    }
}

}  // namespace
