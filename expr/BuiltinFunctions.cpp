// The built-in functions: one computation per function and the table that names them
// and gives their argument counts. Value arguments are evaluated left to right, each
// once, except where a function says otherwise.
#include "expr/BuiltinFunctions.h"

#include "expr/BuiltinFunctionCreator.h"
#include "expr/FunctionList.h"
#include "expr/MathConstants.h"
#include "expr/MathException.h"
#include "expr/Numeric.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace ExprEval {

namespace {

constexpr double kRandomScale = 1.0 / 32767.0;

// Makes seeds of two randomize calls within one clock tick differ. Shared by all
// expressions of the process.
std::atomic<std::uint32_t> g_randomizeCounter{1};

using MathFunction = double (*)(double);

double Arg(FunctionNode& node, std::size_t index) {
    return node.EvaluateArgument(index);
}

double CheckedUnary(FunctionNode& node, const char* name, MathFunction function) {
    const double x = Arg(node, 0);
    return CheckMath(name, function(x), x);
}

// One step of the linear congruential generator on the seed variable; returns a
// whole number from 0 to 32767.
double DrawRandom(double& seed) {
    std::uint32_t state = TruncateToUint32(seed);
    state = state * 214013u + 2531011u;
    // The seed keeps the state read as a signed 32-bit number.
    seed = state >= 0x80000000u ? static_cast<double>(state) - 4294967296.0 : static_cast<double>(state);
    return static_cast<double>((state >> 16) & 0x7FFFu);
}

double Abs(FunctionNode& node) {
    return std::fabs(Arg(node, 0));
}

double Mod(FunctionNode& node) {
    const double x = Arg(node, 0);
    const double y = Arg(node, 1);
    return CheckMath("mod", std::fmod(x, y), x, y);
}

double Ipart(FunctionNode& node) {
    double integral = 0;
    std::modf(Arg(node, 0), &integral);
    return integral;
}

double Fpart(FunctionNode& node) {
    double integral = 0;
    return std::modf(Arg(node, 0), &integral);
}

double Min(FunctionNode& node) {
    double result = Arg(node, 0);
    for (std::size_t i = 1; i < node.GetArgumentCount(); ++i) {
        const double value = Arg(node, i);
        if (value < result) {
            result = value;
        }
    }
    return result;
}

double Max(FunctionNode& node) {
    double result = Arg(node, 0);
    for (std::size_t i = 1; i < node.GetArgumentCount(); ++i) {
        const double value = Arg(node, i);
        if (value > result) {
            result = value;
        }
    }
    return result;
}

double Sqrt(FunctionNode& node) {
    return CheckedUnary(node, "sqrt", [](double x) { return std::sqrt(x); });
}

double Sin(FunctionNode& node) {
    return CheckedUnary(node, "sin", [](double x) { return std::sin(x); });
}

double Cos(FunctionNode& node) {
    return CheckedUnary(node, "cos", [](double x) { return std::cos(x); });
}

double Tan(FunctionNode& node) {
    return CheckedUnary(node, "tan", [](double x) { return std::tan(x); });
}

double Sinh(FunctionNode& node) {
    return CheckedUnary(node, "sinh", [](double x) { return std::sinh(x); });
}

double Cosh(FunctionNode& node) {
    return CheckedUnary(node, "cosh", [](double x) { return std::cosh(x); });
}

double Tanh(FunctionNode& node) {
    return CheckedUnary(node, "tanh", [](double x) { return std::tanh(x); });
}

double Asin(FunctionNode& node) {
    return CheckedUnary(node, "asin", [](double x) { return std::asin(x); });
}

double Acos(FunctionNode& node) {
    return CheckedUnary(node, "acos", [](double x) { return std::acos(x); });
}

double Atan(FunctionNode& node) {
    const double x = Arg(node, 0);
    return CheckMath("atan", std::atan2(x, 1.0), x, 1.0);
}

double Atan2(FunctionNode& node) {
    const double y = Arg(node, 0);
    const double x = Arg(node, 1);
    return CheckMath("atan2", std::atan2(y, x), y, x);
}

double Log(FunctionNode& node) {
    return CheckedUnary(node, "log", [](double x) { return std::log10(x); });
}

double Ln(FunctionNode& node) {
    return CheckedUnary(node, "ln", [](double x) { return std::log(x); });
}

double Exp(FunctionNode& node) {
    return CheckedUnary(node, "exp", [](double x) { return std::exp(x); });
}

// The base is evaluated first; base 1 has no logarithms.
double Logn(FunctionNode& node) {
    const double base = Arg(node, 1);
    const double x = Arg(node, 0);
    const double lnBase = CheckMath("logn", std::log(base), base);
    if (lnBase == 0) {
        throw MathException("logn");
    }
    return CheckMath("logn", std::log(x), x) / lnBase;
}

double Ceil(FunctionNode& node) {
    return std::ceil(Arg(node, 0));
}

double Floor(FunctionNode& node) {
    return std::floor(Arg(node, 0));
}

double Rand(FunctionNode& node) {
    return DrawRandom(node.GetReference(0)) * kRandomScale;
}

double Random(FunctionNode& node) {
    const double low = Arg(node, 0);
    const double high = Arg(node, 1);
    return low + (high - low) * DrawRandom(node.GetReference(0)) * kRandomScale;
}

double Randomize(FunctionNode& node) {
    constexpr std::uint32_t kSeedModulus = 2176971487u;
    const auto ticks = static_cast<std::uint32_t>(static_cast<long long>(std::clock()));
    const auto seconds = static_cast<std::uint32_t>(static_cast<long long>(std::time(nullptr)));
    const std::uint32_t counter = g_randomizeCounter.fetch_add(1);
    const std::uint32_t mixed = (ticks + counter + 1024u) * seconds;
    node.GetReference(0) = static_cast<double>(mixed % kSeedModulus);
    return 0;
}

double Deg(FunctionNode& node) {
    return Arg(node, 0) * 180.0 / kPi;
}

double Rad(FunctionNode& node) {
    return Arg(node, 0) * kPi * (1.0 / 180.0);
}

// rect2pol(x, y, &distance, &angle), the angle in [0, 2 pi).
double Rect2pol(FunctionNode& node) {
    const double x = Arg(node, 0);
    const double y = Arg(node, 1);
    const double squares = x * x + y * y;
    const double distance = CheckMath("rect2pol", std::sqrt(squares), squares);
    double angle = CheckMath("rect2pol", std::atan2(y, x), y, x);
    if (angle < 0) {
        angle += 2 * kPi;
    }
    node.GetReference(0) = distance;
    node.GetReference(1) = angle;
    return distance;
}

// pol2rect(distance, angle, &x, &y).
double Pol2rect(FunctionNode& node) {
    const double distance = Arg(node, 0);
    const double angle = Arg(node, 1);
    const double x = distance * CheckMath("pol2rect", std::cos(angle), angle);
    const double y = distance * CheckMath("pol2rect", std::sin(angle), angle);
    node.GetReference(0) = x;
    node.GetReference(1) = y;
    return x;
}

// Only the chosen branch is evaluated.
double If(FunctionNode& node) {
    return IsTrue(Arg(node, 0)) ? Arg(node, 1) : Arg(node, 2);
}

// select(x, negative, zero [, positive]); a NaN takes the negative branch.
double Select(FunctionNode& node) {
    const double x = Arg(node, 0);
    if (x > 0) {
        return node.GetArgumentCount() == 4 ? Arg(node, 3) : Arg(node, 2);
    }
    if (x == 0) {
        return Arg(node, 2);
    }
    return Arg(node, 1);
}

// Unordered values count as equal.
double Equal(FunctionNode& node) {
    const double a = Arg(node, 0);
    const double b = Arg(node, 1);
    return (a < b || a > b) ? 0 : 1;
}

double Above(FunctionNode& node) {
    const double a = Arg(node, 0);
    const double b = Arg(node, 1);
    return a > b ? 1 : 0;
}

double Below(FunctionNode& node) {
    const double a = Arg(node, 0);
    const double b = Arg(node, 1);
    return a < b ? 1 : 0;
}

double Clip(FunctionNode& node) {
    const double value = Arg(node, 0);
    const double low = Arg(node, 1);
    const double high = Arg(node, 2);
    if (value < low) {
        return low;
    }
    return high < value ? high : value;
}

// Wraps the value into the range from low to high.
double Clamp(FunctionNode& node) {
    const double value = Arg(node, 0);
    const double low = Arg(node, 1);
    const double high = Arg(node, 2);
    if (low == high) {
        return low;
    }
    const double rest = std::fmod(value - low, high - low);
    return rest >= 0 ? low + rest : high + rest;
}

// rescale(v, a, b, c, d) maps v from [a, b] to [c, d].
double Rescale(FunctionNode& node) {
    const double v = Arg(node, 0);
    const double a = Arg(node, 1);
    const double b = Arg(node, 2);
    const double c = Arg(node, 3);
    const double d = Arg(node, 4);
    if (b == a) {
        return c;
    }
    return c + (d - c) * (v - a) / (b - a);
}

// poly(x, k1, ..., kn): the first coefficient takes the highest power, n - 1.
double Poly(FunctionNode& node) {
    const double x = Arg(node, 0);
    const std::size_t count = node.GetArgumentCount() - 1;
    double sum = 0;
    for (std::size_t i = 1; i <= count; ++i) {
        const double coefficient = Arg(node, i);
        const auto power = static_cast<double>(count - i);
        sum += coefficient * CheckMath("poly", std::pow(x, power), x, power);
    }
    return sum;
}

// The second argument is evaluated only when the first is true.
double And(FunctionNode& node) {
    return IsTrue(Arg(node, 0)) && IsTrue(Arg(node, 1)) ? 1 : 0;
}

// The second argument is evaluated only when the first is false.
double Or(FunctionNode& node) {
    return IsTrue(Arg(node, 0)) || IsTrue(Arg(node, 1)) ? 1 : 0;
}

double Not(FunctionNode& node) {
    return IsTrue(Arg(node, 0)) ? 0 : 1;
}

struct BuiltinFunction {
    const char* name;
    ArgumentCounts counts;
    BuiltinFunctionNode::Compute compute;
};

constexpr std::int32_t kAny = FunctionNode::kNoLimit;

const BuiltinFunction kBuiltinFunctions[] = {
    {"abs", {1, 1, 0, 0}, &Abs},
    {"mod", {2, 2, 0, 0}, &Mod},
    {"ipart", {1, 1, 0, 0}, &Ipart},
    {"fpart", {1, 1, 0, 0}, &Fpart},
    {"min", {2, kAny, 0, 0}, &Min},
    {"max", {2, kAny, 0, 0}, &Max},
    {"sqrt", {1, 1, 0, 0}, &Sqrt},
    {"sin", {1, 1, 0, 0}, &Sin},
    {"cos", {1, 1, 0, 0}, &Cos},
    {"tan", {1, 1, 0, 0}, &Tan},
    {"sinh", {1, 1, 0, 0}, &Sinh},
    {"cosh", {1, 1, 0, 0}, &Cosh},
    {"tanh", {1, 1, 0, 0}, &Tanh},
    {"asin", {1, 1, 0, 0}, &Asin},
    {"acos", {1, 1, 0, 0}, &Acos},
    {"atan", {1, 1, 0, 0}, &Atan},
    {"atan2", {2, 2, 0, 0}, &Atan2},
    {"log", {1, 1, 0, 0}, &Log},
    {"ln", {1, 1, 0, 0}, &Ln},
    {"exp", {1, 1, 0, 0}, &Exp},
    {"logn", {2, 2, 0, 0}, &Logn},
    {"ceil", {1, 1, 0, 0}, &Ceil},
    {"floor", {1, 1, 0, 0}, &Floor},
    {"rand", {0, 0, 1, 1}, &Rand},
    {"random", {2, 2, 1, 1}, &Random},
    {"randomize", {0, 0, 1, 1}, &Randomize},
    {"deg", {1, 1, 0, 0}, &Deg},
    {"rad", {1, 1, 0, 0}, &Rad},
    {"rect2pol", {2, 2, 2, 2}, &Rect2pol},
    {"pol2rect", {2, 2, 2, 2}, &Pol2rect},
    {"if", {3, 3, 0, 0}, &If},
    {"select", {3, 4, 0, 0}, &Select},
    {"equal", {2, 2, 0, 0}, &Equal},
    {"above", {2, 2, 0, 0}, &Above},
    {"below", {2, 2, 0, 0}, &Below},
    {"clip", {3, 3, 0, 0}, &Clip},
    {"clamp", {3, 3, 0, 0}, &Clamp},
    {"rescale", {5, 5, 0, 0}, &Rescale},
    {"poly", {2, kAny, 0, 0}, &Poly},
    {"and", {2, 2, 0, 0}, &And},
    {"or", {2, 2, 0, 0}, &Or},
    {"not", {1, 1, 0, 0}, &Not},
};

}  // namespace

void AddBuiltinFunctions(FunctionList& list) {
    for (const BuiltinFunction& function : kBuiltinFunctions) {
        list.Add(std::make_unique<BuiltinFunctionCreator>(function.name, function.counts, function.compute));
    }
}

}  // namespace ExprEval
