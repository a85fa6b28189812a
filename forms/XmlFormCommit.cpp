#include "forms/XmlFormCommit.h"

#include "classlib/core/CString.h"
#include "classlib/core/FormatText.h"
#include "forms/FormNumberText.h"
#include "forms/FormatRangeMessage.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"
#include "link/NumberChecks.h"

#include <algorithm>
#include <cmath>

#include <boost/regex.hpp>

namespace XmlFormCommit {

namespace {

constexpr int kMaxPrecision = 15;
constexpr int kLogError = 3000;

bool StartsWith(const std::string& text, std::size_t at, const std::string& part) {
    return !part.empty() && text.compare(at, part.size(), part) == 0;
}

// A text that passed the language's decimal check, spelled the way ReadFormDouble reads it:
// ASCII digits, '.' and a leading '-'.
double ReadLocaleDecimal(const std::string& typed, const CLocaleNumberFormat& format) {
    bool negative = false;
    std::string plain;
    for (std::size_t i = 0; i < typed.size();) {
        if (StartsWith(typed, i, format.m_decimalSeparator)) {
            plain += '.';
            i += format.m_decimalSeparator.size();
            continue;
        }
        if (StartsWith(typed, i, format.m_negativeSign)) {
            negative = true;
            i += format.m_negativeSign.size();
            continue;
        }
        const std::size_t digit = format.m_digits.find(typed[i]);
        if (digit != std::string::npos && digit < 10) {
            plain += static_cast<char>('0' + digit);
        } else if (typed[i] == '(') {
            negative = true;  // the bracketed form of negative numbers
        }
        ++i;
    }
    const double magnitude = ReadFormDouble(plain.c_str());
    return negative ? -magnitude : magnitude;
}

std::string FillInvalid(const MessageTexts& texts, const std::string& typed) {
    return FormatText(texts.invalid.c_str(), typed.c_str()).GetString();
}

std::string FillOutOfRange(const MessageTexts& texts,
                           double value,
                           double minimum,
                           double maximum,
                           int precision) {
    return FormatRangeMessage(texts.outOfRange.c_str(), FormatNumber(value, precision).c_str(),
                              FormatNumber(minimum, precision).c_str(),
                              FormatNumber(maximum, precision).c_str())
        .GetString();
}

Result Refusal(Outcome outcome, std::string message) {
    Result result;
    result.outcome = outcome;
    result.message = std::move(message);
    return result;
}

// The checks that numbers and grid cells share; on success value holds the rounded number.
Result CheckNumber(const std::string& typed,
                   double minimum,
                   double maximum,
                   int precision,
                   const CLocaleNumberFormat& format,
                   const MessageTexts& texts,
                   double& value) {
    if (!IsValidDecimalText(format, typed.c_str())) {
        return Refusal(Outcome::Invalid, FillInvalid(texts, typed));
    }
    const double read = ReadLocaleDecimal(typed, format);
    if (read < minimum || read > maximum) {
        return Refusal(Outcome::OutOfRange, FillOutOfRange(texts, read, minimum, maximum, precision));
    }
    value = RoundToPrecision(read, precision);
    Result accepted;
    accepted.outcome = Outcome::Unchanged;
    return accepted;
}

bool MatchesWhole(const std::string& expression, const std::string& typed) {
    try {
        return boost::regex_match(typed, boost::regex(expression));
    } catch (const std::exception& error) {
        CLogger::Instance().Log(kLogError, "CXmlForm: the expression \"%s\" does not compile: %s",
                                expression.c_str(), error.what());
        return false;
    }
}

}  // namespace

int UsablePrecision(int precision) {
    return std::clamp(precision, 0, kMaxPrecision);
}

double RoundToPrecision(double value, int precision) {
    // The product is taken in extended precision, so that it rounds the binary double itself:
    // 12.35 is a little below 12.35 and gives 12.3, where a product rounded to a double
    // would reach 123.5 and give 12.4.
    const long double scale = std::pow(10.0L, UsablePrecision(precision));
    const double rounded =
        static_cast<double>(std::floor(static_cast<long double>(value) * scale + 0.5L) / scale);
    return std::isfinite(rounded) ? rounded : value;
}

std::string FormatNumber(double value, int precision) {
    return FormatDouble(value, UsablePrecision(precision)).GetString();
}

namespace {

// A field shows its value rounded to its decimals; that same text coming back is no change,
// so a loaded value with more decimals stays exact.
bool IsShownText(const std::string& typed, double current, int precision, Result& result) {
    if (typed != FormatNumber(current, precision)) {
        return false;
    }
    result.outcome = Outcome::Unchanged;
    result.shown = typed;
    return true;
}

}  // namespace

Result CommitText(FormEditValue& edit, const std::string& typed, const MessageTexts& texts) {
    if (!MatchesWhole(edit.expression, typed)) {
        return Refusal(Outcome::Invalid, FillInvalid(texts, typed));
    }
    Result result;
    result.shown = typed;
    result.outcome = typed == edit.currentText ? Outcome::Unchanged : Outcome::Changed;
    edit.currentText = typed;
    return result;
}

Result CommitNumber(FormEditValue& edit,
                    const std::string& typed,
                    const CLocaleNumberFormat& format,
                    const MessageTexts& texts) {
    Result untouched;
    if (IsShownText(typed, edit.currentNumber, edit.precision, untouched)) {
        return untouched;
    }
    double value = 0.0;
    Result result = CheckNumber(typed, edit.minimum, edit.maximum, edit.precision, format, texts, value);
    if (result.outcome != Outcome::Unchanged) {
        return result;
    }
    result.shown = FormatNumber(value, edit.precision);
    if (value != edit.currentNumber) {
        edit.currentNumber = value;
        result.outcome = Outcome::Changed;
    }
    return result;
}

Result CommitGridCell(FormGridLine& line,
                      std::size_t column,
                      const std::string& typed,
                      const CLocaleNumberFormat& format,
                      const MessageTexts& texts) {
    if (column >= line.currentValues.size()) {
        Result nothing;
        nothing.outcome = Outcome::Unchanged;
        return nothing;
    }
    double& current = line.currentValues[column];
    Result untouched;
    if (IsShownText(typed, current, line.precision, untouched)) {
        return untouched;
    }
    double value = 0.0;
    Result result = CheckNumber(typed, line.minimum, line.maximum, line.precision, format, texts, value);
    if (result.outcome == Outcome::Unchanged && value != current) {
        current = value;
        result.outcome = Outcome::Changed;
    }
    result.shown = FormatNumber(current, line.precision);
    return result;
}

}  // namespace XmlFormCommit
