// The 42 built-in functions of the expression language.
#pragma once

namespace ExprEval {

class FunctionList;

// Adds the factories in table order, "abs" first and "not" last.
void AddBuiltinFunctions(FunctionList& list);

}  // namespace ExprEval
