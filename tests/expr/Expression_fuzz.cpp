// Fuzzes parsing and evaluation with arbitrary text. Every variable the text names is
// given awkward values (NaN, infinities, huge and negative numbers) before each
// evaluation. Only evaluator exceptions may leave; the sanitizers catch the rest.
#include "expr/ExprEval.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace {

const double kAwkwardValues[] = {
    0,
    -1,
    0.5,
    255,
    65536,
    -9.3e18,
    1e300,
    std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
};

void SetVariables(ExprEval::ValueList& values, std::size_t round) {
    for (std::size_t i = 0; i < values.Count(); ++i) {
        std::string name;
        values.Item(i, &name, nullptr);
        if (!values.IsConstant(name)) {
            *values.GetAddress(name) = kAwkwardValues[(i + round) % std::size(kAwkwardValues)];
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ExprEval::ValueList values;
    values.AddDefaultValues();
    ExprEval::FunctionList functions;
    functions.AddDefaultFunctions();
    ExprEval::ExpressionObject expression;
    expression.SetValueList(&values);
    expression.SetFunctionList(&functions);
    try {
        expression.Parse(text);
    } catch (const ExprEval::Exception&) {
        return 0;  // a rejected text is a valid outcome
    }
    for (std::size_t round = 0; round < 3; ++round) {
        SetVariables(values, round);
        try {
            expression.Evaluate();
        } catch (const ExprEval::Exception&) {
            // Math, division and abort errors are valid outcomes; go on evaluating.
        }
    }
    return 0;
}
