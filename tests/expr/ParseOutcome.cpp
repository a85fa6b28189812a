// Records the outcome of one parse and a few evaluations.
#include "ParseOutcome.h"

#include "expr/ExprEval.h"
#include "expr/Parser.h"

#include <cstring>
#include <functional>
#include <limits>
#include <memory>

namespace ExprTest {

namespace {

const double kRoundValues[] = {0, 3, -7.5, 255, std::numeric_limits<double>::quiet_NaN()};

std::uint64_t Bits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void Record(ParseOutcome& outcome, const ExprEval::Exception& error) {
    outcome.errorType = error.GetType();
    outcome.errorValue = error.GetValue();
    outcome.errorStart = error.GetStart();
    outcome.errorEnd = error.GetEnd();
}

// An expression object whose tree is made by region parsing alone.
class RegionParsedExpression : public ExprEval::ExpressionObject {
public:
    void ParseByRegions(const std::string& text) {
        ExprEval::Parser parser(this);
        parser.Tokenize(text);
        if (parser.GetTokenCount() == 0) {
            throw ExprEval::EmptyExpressionException();
        }
        m_tree = parser.ParseRegion(0, parser.GetTokenCount() - 1);
    }

    double EvaluateTree() { return m_tree->Evaluate(); }

private:
    std::unique_ptr<ExprEval::Node> m_tree;
};

void Evaluate(ParseOutcome& outcome, ExprEval::ValueList& values, const std::function<double()>& evaluate) {
    for (const double value : kRoundValues) {
        for (const char* name : {"b0", "b1", "v0", "v1"}) {
            *values.GetAddress(name) = value;
        }
        try {
            outcome.results.push_back(Bits(evaluate()));
        } catch (const ExprEval::Exception& error) {
            outcome.results.push_back(static_cast<std::uint64_t>(error.GetType()));
        }
    }
}

}  // namespace

bool ParseOutcome::operator==(const ParseOutcome& other) const {
    return parsed == other.parsed && errorType == other.errorType && errorValue == other.errorValue &&
           errorStart == other.errorStart && errorEnd == other.errorEnd && results == other.results &&
           names == other.names && values == other.values;
}

ParseOutcome Outcome(const std::string& text, bool regionOnly) {
    ParseOutcome outcome;
    ExprEval::ValueList values;
    values.AddDefaultValues();
    for (const char* name : {"b0", "b1", "b2", "b3", "v0", "v1", "v2", "v3"}) {
        values.Add(name, 0, false);
    }
    ExprEval::FunctionList functions;
    functions.AddDefaultFunctions();
    RegionParsedExpression expression;
    expression.SetValueList(&values);
    expression.SetFunctionList(&functions);
    try {
        if (regionOnly) {
            expression.ParseByRegions(text);
            outcome.parsed = true;
            Evaluate(outcome, values, [&] { return expression.EvaluateTree(); });
        } else {
            expression.Parse(text);
            outcome.parsed = true;
            Evaluate(outcome, values, [&] { return expression.Evaluate(); });
        }
    } catch (const ExprEval::Exception& error) {
        Record(outcome, error);
    }
    for (std::size_t i = 0; i < values.Count(); ++i) {
        std::string name;
        double value = 0;
        values.Item(i, &name, &value);
        outcome.names.push_back(name);
        outcome.values.push_back(Bits(value));
    }
    return outcome;
}

}  // namespace ExprTest
