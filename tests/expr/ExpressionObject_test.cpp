// Expression objects, value lists and function lists: set-up, name rules, ownership,
// the abort test and the calling order of a user.
#include "Calculator.h"
#include "expr/BuiltinFunctionCreator.h"
#include "expr/ExprEval.h"
#include "expr/Parser.h"
#include "expr/ValueNode.h"

#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace ExprEval;

namespace {

class AlwaysAbort : public ExpressionObject {
public:
    int asked = 0;

protected:
    bool DoTestAbort() override {
        ++asked;
        return true;
    }
};

// A user-defined function: twice(x) = 2x.
class TwiceNode : public FunctionNode {
public:
    explicit TwiceNode(ExpressionObject* expression) : FunctionNode(expression) {}

protected:
    double DoEvaluate() override { return 2 * EvaluateArgument(0); }
};

class TwiceCreator : public FunctionCreator {
public:
    std::string GetName() const override { return "twice"; }

protected:
    std::unique_ptr<FunctionNode> DoCreate(ExpressionObject* expression) const override {
        auto node = std::make_unique<TwiceNode>(expression);
        node->SetArgumentCount(1, 1, 0, 0);
        return node;
    }
};

// A user function node that holds memory of its own and counts its deletions: a tree
// with such a node must be deleted node by node, not dropped with the arena.
class HoldingNode : public TwiceNode {
public:
    explicit HoldingNode(ExpressionObject* expression) : TwiceNode(expression) {}

    ~HoldingNode() override { ++deleted; }

    static inline int deleted = 0;

private:
    std::vector<double> m_held = std::vector<double>(64, 1.0);
};

class HoldingCreator : public FunctionCreator {
public:
    std::string GetName() const override { return "held"; }

protected:
    std::unique_ptr<FunctionNode> DoCreate(ExpressionObject* expression) const override {
        auto node = std::make_unique<HoldingNode>(expression);
        node->SetArgumentCount(1, 1, 0, 0);
        return node;
    }
};

const char* const kBuiltinNames[] = {
    "abs",   "mod",      "ipart",    "fpart", "min",    "max",   "sqrt",   "sin",       "cos",
    "tan",   "sinh",     "cosh",     "tanh",  "asin",   "acos",  "atan",   "atan2",     "log",
    "ln",    "exp",      "logn",     "ceil",  "floor",  "rand",  "random", "randomize", "deg",
    "rad",   "rect2pol", "pol2rect", "if",    "select", "equal", "above",  "below",     "clip",
    "clamp", "rescale",  "poly",     "and",   "or",     "not",
};

}  // namespace

TEST(ValueList, DefaultValuesAreTheConstantsEAndPi) {
    ValueList list;
    list.AddDefaultValues();
    ASSERT_EQ(list.Count(), 2u);
    std::string name;
    double value = 0;
    list.Item(0, &name, &value);
    EXPECT_EQ(name, "E");
    EXPECT_EQ(value, 2.718281828459045);
    list.Item(1, &name, &value);
    EXPECT_EQ(name, "PI");
    EXPECT_EQ(value, 3.141592653589793);
    EXPECT_TRUE(list.IsConstant("E"));
    EXPECT_TRUE(list.IsConstant("PI"));
    EXPECT_FALSE(list.IsConstant("pi"));
    EXPECT_EQ(list.GetAddress("pi"), nullptr);
}

TEST(ValueList, RejectsADuplicateNameAsAnOrdinaryExceptionButTellsCaseApart) {
    ValueList list;
    list.Add("x", 1, false);
    try {
        list.Add("x", 2, false);
        ADD_FAILURE() << "duplicate accepted";
    } catch (const Exception& error) {
        EXPECT_EQ(error.GetType(), AlreadyExistsException::kType);
        EXPECT_EQ(error.GetValue(), "x");
    }
    double storage = 0;
    EXPECT_THROW(list.AddAddress("x", &storage, 5, false), AlreadyExistsException);
    EXPECT_EQ(storage, 0);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(*list.GetAddress("x"), 1);
    list.Add("X", 3, false);
    EXPECT_EQ(*list.GetAddress("X"), 3);
}

TEST(ValueList, BindsAnItemToOutsideStorageAndWritesItsValueAtOnce) {
    ValueList list;
    double storage = 0;
    list.AddAddress("b0", &storage, 7, false);
    EXPECT_EQ(storage, 7);
    EXPECT_EQ(list.GetAddress("b0"), &storage);
    storage = 9;
    list.Reset();
    EXPECT_EQ(storage, 7);
}

TEST(ValueList, AddressesStayValidWhileItemsAreAdded) {
    ValueList list;
    list.Add("first", 1, false);
    double* first = list.GetAddress("first");
    for (int i = 0; i < 1000; ++i) {
        list.Add("v" + std::to_string(i), i, false);
    }
    EXPECT_EQ(list.GetAddress("first"), first);
    EXPECT_EQ(*first, 1);
}

TEST(ValueList, FindsEachOfManyNamesAndStillRejectsDuplicatesAfterClearing) {
    ValueList list;
    constexpr int kCount = 1000;
    for (int i = 0; i < kCount; ++i) {
        list.Add("n" + std::to_string(i), i, i % 2 == 0);
    }
    for (int i = 0; i < kCount; ++i) {
        const std::string name = "n" + std::to_string(i);
        SCOPED_TRACE(name);
        ASSERT_NE(list.GetAddress(name), nullptr);
        EXPECT_EQ(*list.GetAddress(name), i);
        EXPECT_EQ(list.IsConstant(name), i % 2 == 0);
    }
    EXPECT_EQ(list.GetAddress("n1000"), nullptr);
    EXPECT_THROW(list.Add("n999", 0, false), AlreadyExistsException);
    list.Clear();
    EXPECT_EQ(list.GetAddress("n5"), nullptr);
    list.Add("n5", 7, false);
    EXPECT_EQ(*list.GetAddress("n5"), 7);
}

TEST(ValueList, ResetsItemsToTheirDefaultsAndClearsThem) {
    ValueList list;
    list.Add("a", 4, false);
    *list.GetAddress("a") = 10;
    list.Reset();
    EXPECT_EQ(*list.GetAddress("a"), 4);
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.GetAddress("a"), nullptr);
}

TEST(ValueList, ReportsNullAddressesAndBadIndexes) {
    ValueList list;

    struct Row {
        const char* name;
        std::function<void()> call;
        std::int32_t type;
        std::string value;
    };

    const Row rows[] = {
        {"AddAddress", [&] { list.AddAddress("a", nullptr, 0, false); }, NullPointerException::kType,
         "ValueList::AddAddress"},
        {"item", [] { ValueListItem item("a", nullptr, 0, false); }, NullPointerException::kType,
         "ValueListItem::ValueListItem"},
        {"Item", [&] { list.Item(0, nullptr, nullptr); }, NotFoundException::kType, "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            row.call();
            ADD_FAILURE() << "nothing raised";
        } catch (const Exception& error) {
            EXPECT_EQ(error.GetType(), row.type);
            EXPECT_EQ(error.GetValue(), row.value);
        }
    }
}

TEST(FunctionList, HoldsAllBuiltinsUnderTheirNames) {
    FunctionList list;
    list.AddDefaultFunctions();
    ExpressionObject expression;
    ASSERT_EQ(std::size(kBuiltinNames), 42u);
    for (const char* name : kBuiltinNames) {
        SCOPED_TRACE(name);
        std::unique_ptr<FunctionNode> node = list.Create(name, &expression);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->GetName(), name);
    }
    EXPECT_EQ(list.Create("Abs", &expression), nullptr);
    EXPECT_EQ(list.Create("foo", &expression), nullptr);
}

TEST(FunctionList, RejectsDuplicateAndNullFactoriesAndANullExpression) {
    FunctionList list;
    list.AddDefaultFunctions();
    try {
        list.Add(std::make_unique<BuiltinFunctionCreator>("abs", ArgumentCounts{1, 1, 0, 0}, nullptr));
        ADD_FAILURE() << "duplicate accepted";
    } catch (const AlreadyExistsException& error) {
        EXPECT_EQ(error.GetValue(), "abs");
    }
    try {
        list.Add(nullptr);
        ADD_FAILURE() << "null accepted";
    } catch (const NullPointerException& error) {
        EXPECT_EQ(error.GetValue(), "FunctionList::Add");
    }
    try {
        list.Create("abs", nullptr);
        ADD_FAILURE() << "null expression accepted";
    } catch (const NullPointerException& error) {
        EXPECT_EQ(error.GetValue(), "FunctionList::Create");
    }
}

TEST(FunctionList, AcceptsAUserFunction) {
    Calculator calc;
    FunctionList own;
    own.AddDefaultFunctions();
    own.Add(std::make_unique<TwiceCreator>());
    calc.Expression().SetFunctionList(&own);
    EXPECT_EQ(calc.Run("twice(abs(-3)) + 1"), 7);
    const Exception error = calc.Fail("twice(1, 2)");
    EXPECT_EQ(error.GetType(), InvalidArgumentCountException::kType);
    EXPECT_EQ(error.GetValue(), "twice");
}

TEST(ExpressionObject, RejectsNullPointersWhereAnExpressionIsRequired) {
    try {
        Parser parser(nullptr);
        ADD_FAILURE() << "null accepted";
    } catch (const NullPointerException& error) {
        EXPECT_EQ(error.GetValue(), "Parser::Parser");
    }
    try {
        ValueNode node(nullptr);
        ADD_FAILURE() << "null accepted";
    } catch (const NullPointerException& error) {
        EXPECT_EQ(error.GetValue(), "Node::Node");
    }
}

TEST(ExpressionObject, IsEmptyBeforeParsingAfterClearingAndAfterAFailedParse) {
    Calculator calc;
    EXPECT_THROW(calc.Expression().Evaluate(), EmptyExpressionException);
    EXPECT_EQ(calc.Run("1 + 1"), 2);
    calc.Expression().Clear();
    EXPECT_THROW(calc.Expression().Evaluate(), EmptyExpressionException);

    EXPECT_EQ(calc.Run("3"), 3);
    EXPECT_THROW(calc.Expression().Parse("fresh = 1 +"), SyntaxException);
    EXPECT_THROW(calc.Expression().Evaluate(), EmptyExpressionException);
    // Names met before the failure stay in the list.
    EXPECT_NE(calc.Values().GetAddress("fresh"), nullptr);
}

TEST(ExpressionObject, ParsingAgainReplacesTheTree) {
    Calculator calc;
    calc.Expression().Parse("1");
    calc.Expression().Parse("2");
    EXPECT_EQ(calc.Expression().Evaluate(), 2);
}

TEST(ExpressionObject, AsksTheAbortHookOnThe200001stNodeEvaluation) {
    ValueList values;
    AlwaysAbort expression;
    expression.SetValueList(&values);
    expression.Parse("1 + 1");  // three node evaluations each time
    for (int i = 0; i < 66666; ++i) {
        expression.Evaluate();
    }
    EXPECT_EQ(expression.asked, 0);
    EXPECT_THROW(expression.Evaluate(), AbortException);
    EXPECT_EQ(expression.asked, 1);
}

TEST(ExpressionObject, LowersTheRunningCountdownToANewInterval) {
    AlwaysAbort expression;
    expression.Parse("1");
    expression.SetAbortInterval(10);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        for (int i = 0; i < 10; ++i) {
            expression.Evaluate();
        }
        EXPECT_THROW(expression.Evaluate(), AbortException);
    }
    EXPECT_EQ(expression.asked, 2);
}

TEST(ExpressionObject, ForcedAbortTestAsksAtOnce) {
    AlwaysAbort expression;
    EXPECT_THROW(expression.TestAbort(true), AbortException);
    EXPECT_EQ(expression.asked, 1);
    ExpressionObject neverAborts;
    EXPECT_NO_THROW(neverAborts.TestAbort(true));
}

// The way a conversion user drives it: variables bound once, evaluated many times.
TEST(ExpressionObject, ConvertsBytesToAWordAndBackThroughBoundVariables) {
    ValueList values;
    values.AddDefaultValues();
    double bytes[2] = {};
    double word = 0;
    values.AddAddress("b0", &bytes[0], 0, false);
    values.AddAddress("b1", &bytes[1], 0, false);
    values.AddAddress("v0", &word, 0, false);
    FunctionList functions;
    functions.AddDefaultFunctions();
    ExpressionObject toValues;
    ExpressionObject toBytes;
    for (ExpressionObject* expression : {&toValues, &toBytes}) {
        expression->SetValueList(&values);
        expression->SetFunctionList(&functions);
    }
    toValues.Parse("v0 = b0*256 + b1");
    toBytes.Parse("b0 = ipart(v0/256); b1 = mod(v0, 256)");
    for (double w : {0.0, 1.0, 255.0, 256.0, 4660.0, 65535.0}) {
        SCOPED_TRACE(w);
        word = w;
        toBytes.Evaluate();
        word = -1;
        toValues.Evaluate();
        EXPECT_EQ(word, w);
    }
}

// A user function whose factory parses an expression of its own while the outer one is
// being parsed.
class NestedParseCreator : public FunctionCreator {
public:
    explicit NestedParseCreator(ValueList* values) : m_values(values) {}

    std::string GetName() const override { return "nested"; }

    ExpressionObject& Inner() { return m_inner; }

protected:
    std::unique_ptr<FunctionNode> DoCreate(ExpressionObject* expression) const override {
        m_inner.SetValueList(m_values);
        m_inner.Parse("inner = 3 * 4");
        auto node = std::make_unique<TwiceNode>(expression);
        node->SetArgumentCount(1, 1, 0, 0);
        return node;
    }

private:
    ValueList* m_values;
    mutable ExpressionObject m_inner;
};

TEST(ExpressionObject, TreesOfNestedParsesStayApart) {
    ValueList values;
    FunctionList functions;
    auto creator = std::make_unique<NestedParseCreator>(&values);
    NestedParseCreator& nested = *creator;
    functions.Add(std::move(creator));
    auto outer = std::make_unique<ExpressionObject>();
    outer->SetValueList(&values);
    outer->SetFunctionList(&functions);
    outer->Parse("nested(1 + 2) + 1");
    // The inner tree outlives the outer one, and nodes made outside any parse outlive both.
    std::unique_ptr<FunctionNode> loose = functions.Create("nested", outer.get());
    EXPECT_EQ(outer->Evaluate(), 7);
    outer.reset();
    EXPECT_EQ(nested.Inner().Evaluate(), 12);
    nested.Inner().Clear();
    EXPECT_EQ(loose->GetName(), "nested");
}

TEST(ExpressionObject, ListsAndExpressionMayBeDeletedInAnyOrder) {
    auto values = std::make_unique<ValueList>();
    auto functions = std::make_unique<FunctionList>();
    functions->AddDefaultFunctions();
    auto expression = std::make_unique<ExpressionObject>();
    expression->SetValueList(values.get());
    expression->SetFunctionList(functions.get());
    expression->Parse("x = min(y, 2); abs(x)");
    values.reset();
    functions.reset();
    expression.reset();
    SUCCEED();
}

TEST(ExpressionObject, DeletesUserFunctionNodesOnClearReparseAndDestruction) {
    ValueList values;
    FunctionList functions;
    functions.AddDefaultFunctions();
    functions.Add(std::make_unique<HoldingCreator>());
    HoldingNode::deleted = 0;
    {
        ExpressionObject expression;
        expression.SetValueList(&values);
        expression.SetFunctionList(&functions);
        expression.Parse("abs(-1) + held(2)");
        EXPECT_EQ(expression.Evaluate(), 5);
        expression.Clear();
        EXPECT_EQ(HoldingNode::deleted, 1);
        expression.Parse("held(held(1))");
        expression.Parse("abs(-2)");
        EXPECT_EQ(HoldingNode::deleted, 3);
        expression.Parse("held(1); x = 1");
    }
    EXPECT_EQ(HoldingNode::deleted, 4);
}
