// Test helper: an expression with the default constants and the built-in functions,
// set up in the order a user of the evaluator follows.
#pragma once

#include "expr/ExprEval.h"

#include <string>

#include <gtest/gtest.h>

class Calculator {
public:
    Calculator() {
        m_values.AddDefaultValues();
        m_functions.AddDefaultFunctions();
        m_expression.SetValueList(&m_values);
        m_expression.SetFunctionList(&m_functions);
    }

    double Run(const std::string& text) {
        m_expression.Parse(text);
        return m_expression.Evaluate();
    }

    // Parses and evaluates text and returns the evaluator error it raised; a text that
    // raises nothing fails the test.
    ExprEval::Exception Fail(const std::string& text) {
        try {
            Run(text);
        } catch (const ExprEval::Exception& error) {
            return error;
        }
        ADD_FAILURE() << "no error raised by: " << text;
        return ExprEval::Exception();
    }

    // The variable's value, created with 0 when it does not exist yet.
    double& Var(const std::string& name) {
        if (m_values.GetAddress(name) == nullptr) {
            m_values.Add(name, 0, false);
        }
        return *m_values.GetAddress(name);
    }

    ExprEval::ValueList& Values() { return m_values; }

    ExprEval::ExpressionObject& Expression() { return m_expression; }

private:
    ExprEval::ValueList m_values;
    ExprEval::FunctionList m_functions;
    ExprEval::ExpressionObject m_expression;
};
