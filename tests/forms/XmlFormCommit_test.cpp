// Committing typed texts into the XML form's fields: the decimal and pattern checks, the
// range messages, rounding to the field's decimals, under the "C" format and a comma language.
#include "forms/XmlFormCommit.h"

#include "classlib/core/CNumberLocale.h"

#include <limits>

#include <gtest/gtest.h>

namespace {

using XmlFormCommit::Outcome;

const XmlFormCommit::MessageTexts kTexts = {"Attempt to write an invalid element: %s.",
                                            "Element out of range: %s <- %c%s; %s%c."};
constexpr double kInf = std::numeric_limits<double>::infinity();

FormEditValue NumberField(double minimum, double maximum, int precision, double current) {
    FormEditValue edit;
    edit.minimum = minimum;
    edit.maximum = maximum;
    edit.precision = precision;
    edit.referenceNumber = current;
    edit.currentNumber = current;
    return edit;
}

// The decimal separator that the language manager sets for printing, put back afterwards.
class CommaLanguage {
public:
    CommaLanguage() { CNumberLocale::SetDecimalSeparator(','); }

    ~CommaLanguage() { CNumberLocale::SetDecimalSeparator('.'); }

    CLocaleNumberFormat format;
};

CLocaleNumberFormat CommaFormat() {
    CLocaleNumberFormat format;
    format.m_decimalSeparator = ",";
    return format;
}

struct NumberCase {
    const char* typed;
    double minimum;
    double maximum;
    int precision;
    Outcome outcome;
    double stored;  // the current number afterwards (it starts at 50)
    const char* shown;
    const char* message;
};

const NumberCase kNumberCases[] = {
    {"12.345", 0, 100, 1, Outcome::Changed, 12.3, "12.3", ""},
    {"12.36", 0, 100, 1, Outcome::Changed, 12.4, "12.4", ""},
    // The rounding works on the binary double: 12.35 is a little below it.
    {"12.35", 0, 100, 1, Outcome::Changed, 12.3, "12.3", ""},
    {" -7 ", -10, 10, 0, Outcome::Changed, -7, "-7", ""},
    {"50.04", 0, 100, 1, Outcome::Unchanged, 50, "50.0", ""},
    {"150", -kInf, 100, 0, Outcome::OutOfRange, 50, "", "Element out of range: 150 <- (-inf; 100)."},
    {"-0.5", 0, 1, 2, Outcome::OutOfRange, 50, "", "Element out of range: -0.50 <- (0.00; 1.00)."},
    {"12,3", 0, 100, 1, Outcome::Invalid, 50, "", "Attempt to write an invalid element: 12,3."},
    {"abc", 0, 100, 1, Outcome::Invalid, 50, "", "Attempt to write an invalid element: abc."},
    {"", 0, 100, 1, Outcome::Invalid, 50, "", "Attempt to write an invalid element: ."},
    // A precision past what a double holds is used as 15 decimals, not as an infinite scale.
    {"1.5", 0, 100, 400, Outcome::Changed, 1.5, "1.500000000000000", ""},
    {"1.26", 0, 100, -3, Outcome::Changed, 1, "1", ""},
};

}  // namespace

TEST(XmlFormCommit, NumberFieldsUnderTheCFormat) {
    for (const NumberCase& c : kNumberCases) {
        FormEditValue edit = NumberField(c.minimum, c.maximum, c.precision, 50);
        const XmlFormCommit::Result result =
            XmlFormCommit::CommitNumber(edit, c.typed, CLocaleNumberFormat(), kTexts);
        EXPECT_EQ(c.outcome, result.outcome) << c.typed;
        EXPECT_DOUBLE_EQ(c.stored, edit.currentNumber) << c.typed;
        EXPECT_EQ(c.shown, result.shown) << c.typed;
        EXPECT_EQ(c.message, result.message) << c.typed;
        EXPECT_EQ(50, edit.referenceNumber) << c.typed;
    }
}

TEST(XmlFormCommit, CommittingTheSameNumberTwiceChangesOnce) {
    FormEditValue edit = NumberField(0, 100, 1, 50);
    EXPECT_EQ(Outcome::Changed,
              XmlFormCommit::CommitNumber(edit, "12.36", CLocaleNumberFormat(), kTexts).outcome);
    EXPECT_EQ(Outcome::Unchanged,
              XmlFormCommit::CommitNumber(edit, "12.36", CLocaleNumberFormat(), kTexts).outcome);
    EXPECT_EQ(Outcome::Unchanged,
              XmlFormCommit::CommitNumber(edit, "12.4", CLocaleNumberFormat(), kTexts).outcome);
}

TEST(XmlFormCommit, CommaLanguageReadsAndShowsItsSeparator) {
    const CommaLanguage language;
    FormEditValue edit = NumberField(0, 100, 1, 50);
    XmlFormCommit::Result result = XmlFormCommit::CommitNumber(edit, "12,36", CommaFormat(), kTexts);
    EXPECT_EQ(Outcome::Changed, result.outcome);
    EXPECT_DOUBLE_EQ(12.4, edit.currentNumber);
    EXPECT_EQ("12,4", result.shown);
    // The point is no separator of this language.
    result = XmlFormCommit::CommitNumber(edit, "12.36", CommaFormat(), kTexts);
    EXPECT_EQ(Outcome::Invalid, result.outcome);
    EXPECT_DOUBLE_EQ(12.4, edit.currentNumber);
    result = XmlFormCommit::CommitNumber(edit, "100,5", CommaFormat(), kTexts);
    EXPECT_EQ("Element out of range: 100,5 <- (0,0; 100,0).", result.message);
}

TEST(XmlFormCommit, TextFieldsMatchTheirPatternAsAWhole) {
    struct TextCase {
        const char* typed;
        Outcome outcome;
    };

    const TextCase cases[] = {
        {"P0123", Outcome::Changed}, {"P0123", Outcome::Unchanged}, {"P4123", Outcome::Invalid},
        {"p0123", Outcome::Invalid}, {"P01234", Outcome::Invalid},  {"U3999", Outcome::Changed},
        {"|0000", Outcome::Changed}, {"", Outcome::Invalid},
    };
    FormEditValue edit;
    edit.expression = "[P|B|C|U][0-3]\\d{3}";
    edit.referenceText = "P0000";
    edit.currentText = "P0000";
    std::string last = "P0000";
    for (const TextCase& c : cases) {
        const XmlFormCommit::Result result = XmlFormCommit::CommitText(edit, c.typed, kTexts);
        EXPECT_EQ(c.outcome, result.outcome) << c.typed;
        if (c.outcome == Outcome::Invalid) {
            EXPECT_EQ(std::string("Attempt to write an invalid element: ") + c.typed + ".", result.message);
        } else {
            last = c.typed;
            EXPECT_EQ(c.typed, result.shown);
        }
        EXPECT_EQ(last, edit.currentText) << c.typed;
    }
    EXPECT_EQ("P0000", edit.referenceText);
}

TEST(XmlFormCommit, AnExpressionThatDoesNotCompileRefusesEveryText) {
    FormEditValue edit;
    edit.expression = "[P";
    const XmlFormCommit::Result result = XmlFormCommit::CommitText(edit, "[P", kTexts);
    EXPECT_EQ(Outcome::Invalid, result.outcome);
    EXPECT_EQ("", edit.currentText);
}

TEST(XmlFormCommit, GridCellsAlwaysShowTheCurrentValueAfterwards) {
    FormGridLine line;
    line.minimum = 0;
    line.maximum = 10;
    line.precision = 1;
    line.referenceValues = {1, 2};
    line.currentValues = {1, 2};
    XmlFormCommit::Result result =
        XmlFormCommit::CommitGridCell(line, 1, "5.56", CLocaleNumberFormat(), kTexts);
    EXPECT_EQ(Outcome::Changed, result.outcome);
    EXPECT_EQ("5.6", result.shown);
    EXPECT_DOUBLE_EQ(5.6, line.currentValues[1]);
    result = XmlFormCommit::CommitGridCell(line, 0, "11", CLocaleNumberFormat(), kTexts);
    EXPECT_EQ(Outcome::OutOfRange, result.outcome);
    EXPECT_EQ("Element out of range: 11.0 <- (0.0; 10.0).", result.message);
    EXPECT_EQ("1.0", result.shown);
    result = XmlFormCommit::CommitGridCell(line, 0, "x", CLocaleNumberFormat(), kTexts);
    EXPECT_EQ(Outcome::Invalid, result.outcome);
    EXPECT_EQ("1.0", result.shown);
    result = XmlFormCommit::CommitGridCell(line, 0, "1.04", CLocaleNumberFormat(), kTexts);
    EXPECT_EQ(Outcome::Unchanged, result.outcome);
    // A column past a short line's values takes nothing.
    result = XmlFormCommit::CommitGridCell(line, 2, "3", CLocaleNumberFormat(), kTexts);
    EXPECT_EQ(Outcome::Unchanged, result.outcome);
    EXPECT_EQ("", result.shown);
    EXPECT_EQ(2u, line.currentValues.size());
    EXPECT_EQ((std::vector<double>{1, 2}), line.referenceValues);
}

// A loaded value with more decimals than its field shows (a unit word 6554 scaled to
// 500.038 mV, shown as "500") stays exact when its text comes back untouched; only a text
// that differs from the shown one is rounded and stored.
TEST(XmlFormCommit, AnUntouchedTextKeepsTheExactValue) {
    struct Case {
        const char* typed;
        int precision;
        Outcome outcome;
        double stored;
        const char* shown;
    };

    const double loaded = 6554 * 5000.0 / 65535;
    const Case cases[] = {
        {"500", 0, Outcome::Unchanged, loaded, "500"},
        {"500.0", 1, Outcome::Unchanged, loaded, "500.0"},
        {"501", 0, Outcome::Changed, 501, "501"},
        // Not the shown text, though the same number once rounded: the user typed it.
        {"500.00", 0, Outcome::Changed, 500, "500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FormGridLine line;
        line.minimum = 0;
        line.maximum = 5000;
        line.precision = c.precision;
        line.referenceValues = {loaded};
        line.currentValues = {loaded};
        XmlFormCommit::Result result =
            XmlFormCommit::CommitGridCell(line, 0, c.typed, CLocaleNumberFormat(), kTexts);
        EXPECT_EQ(c.outcome, result.outcome);
        EXPECT_DOUBLE_EQ(c.stored, line.currentValues[0]);
        EXPECT_EQ(c.shown, result.shown);

        FormEditValue edit = NumberField(0, 5000, c.precision, loaded);
        result = XmlFormCommit::CommitNumber(edit, c.typed, CLocaleNumberFormat(), kTexts);
        EXPECT_EQ(c.outcome, result.outcome);
        EXPECT_DOUBLE_EQ(c.stored, edit.currentNumber);
        EXPECT_EQ(c.shown, result.shown);
    }
}

TEST(XmlFormCommit, RoundingKeepsValuesThatNoLongerScale) {
    EXPECT_DOUBLE_EQ(1e308, XmlFormCommit::RoundToPrecision(1e308, 2));
    EXPECT_DOUBLE_EQ(-kInf, XmlFormCommit::RoundToPrecision(-kInf, 1));
}
