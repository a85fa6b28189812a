// How a typed text becomes a field's current value in the XML form: text fields must match
// their expression as a whole, numbers and grid cells must be decimals of the language, lie
// within their limits and are rounded to their decimals. Each commit says what the form has
// to do next: show a message, show the value, and run its change procedure on a change.
#pragma once

#include "forms/FormEditValue.h"
#include "forms/FormGridLine.h"
#include "link/CLocaleNumberFormat.h"

#include <cstddef>
#include <string>

namespace XmlFormCommit {

enum class Outcome {
    Invalid,     // not a text the field takes: message 15036
    OutOfRange,  // a number outside the limits: message 15152
    Unchanged,   // accepted, and the current value stays as it was
    Changed,     // accepted and stored as the current value
};

// The two message patterns in the current language: "Attempt to write an invalid element:
// %s." and "Element out of range: %s <- %c%s; %s%c.".
struct MessageTexts {
    std::string invalid;
    std::string outOfRange;
};

struct Result {
    Outcome outcome = Outcome::Invalid;
    std::string shown;    // the control's new text; empty for Invalid and OutOfRange in an edit
    std::string message;  // the filled message for Invalid and OutOfRange
};

// Decimals as used for rounding and showing: 0..15, so that 10^p stays finite and exact enough.
int UsablePrecision(int precision);

// floor(value * 10^p + 0.5) / 10^p; a value whose product is no longer finite stays as it is.
double RoundToPrecision(double value, int precision);

// The value with the field's decimals, in the language's separator (FormatDouble).
std::string FormatNumber(double value, int precision);

// The typed text against the text field's expression (default syntax, whole text). An
// expression that does not compile refuses every text, and is logged.
Result CommitText(FormEditValue& edit, const std::string& typed, const MessageTexts& texts);

// The typed text as a number of the number field, read with the language's format. The text
// the field shows for its current value changes nothing, whatever decimals the value has.
Result CommitNumber(FormEditValue& edit,
                    const std::string& typed,
                    const CLocaleNumberFormat& format,
                    const MessageTexts& texts);

// The typed text of a grid cell for the line's value at column (cells count from 0 after the
// title). shown is always the current value at that place afterwards, so a refused text is
// replaced; a column past the line's values takes nothing and shows nothing. As for numbers,
// the shown text of the current value changes nothing.
Result CommitGridCell(FormGridLine& line,
                      std::size_t column,
                      const std::string& typed,
                      const CLocaleNumberFormat& format,
                      const MessageTexts& texts);

}  // namespace XmlFormCommit
