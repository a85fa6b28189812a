// Checks of the whole numbers the user types: the phase test page's lambda and time and the
// data saver's period. The locale's number check, then the range with both bounds included.
// A refused text gets the message the user sees.
#pragma once

#include "classlib/core/CString.h"
#include "link/CLocaleNumberFormat.h"

class CNumberInput {
public:
    static constexpr int kLambdaLow = -50;
    static constexpr int kLambdaHigh = 50;
    // Lambda 99 lies outside the range and is accepted all the same.
    static constexpr int kLambdaSpecial = 99;
    static constexpr int kTimeLow = 0;
    static constexpr int kTimeHigh = 65535;

    // The text is read in the language's number format, sign forms included. invalidFormat
    // has one %s for the text; rangeFormat is "... %s <- %c%s; %s%c." whose
    // %s become the value and the bounds. True with value set when the text passes.
    static bool CheckNumber(const CLocaleNumberFormat& format,
                            const CString& text,
                            int low,
                            int high,
                            const CString& invalidFormat,
                            const CString& rangeFormat,
                            int& value,
                            CString& message);

    static bool CheckLambda(const CLocaleNumberFormat& format,
                            const CString& text,
                            const CString& invalidFormat,
                            const CString& rangeFormat,
                            int& value,
                            CString& message);

    // The range message for a value and its bounds.
    static CString RangeMessage(const CString& rangeFormat, long long value, int low, int high);
};
