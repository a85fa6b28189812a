// The value of an edit field: a text checked against an expression when the expression is
// not empty, else a number with limits and decimals.
#pragma once

#include <string>

struct FormEditValue {
    bool IsText() const { return !expression.empty(); }

    double referenceNumber = 0.0;  // the FORM's default, never changed afterwards
    double currentNumber = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    int precision = 0;  // decimals, as read
    std::string referenceText;
    std::string currentText;
    std::string expression;
};
