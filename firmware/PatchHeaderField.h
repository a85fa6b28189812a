// The checks of the patch editor's seven header edits (major, minor, build, branch, year,
// month, day): a whole number in the current locale within the edit's range, and the words
// the patch stores. Portable, so that the page's rules are tested without windows.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

class CLocaleNumberFormat;

class PatchHeaderField {
public:
    enum Outcome { kValid, kNotANumber, kOutOfRange };

    PatchHeaderField(int minimum, int maximum) : m_minimum(minimum), m_maximum(maximum) {}

    static PatchHeaderField Major() { return {1, 255}; }

    static PatchHeaderField Minor() { return {0, 99}; }

    static PatchHeaderField Build() { return {0, 1023}; }

    static PatchHeaderField Branch() { return {0, 63}; }

    static PatchHeaderField Year() { return {2000, 3000}; }

    static PatchHeaderField Month() { return {1, 12}; }

    // 1 to 31 while typing; a save checks against the month's length.
    static PatchHeaderField Day() { return {1, 31}; }

    static PatchHeaderField DayOfMonth(int year, int month) { return {1, DaysInMonth(year, month)}; }

    // 28 or 29 for February (29 when the year is divisible by 4 and either not by 100 or by
    // 400), 30 for April, June, September and November, else 31.
    static int DaysInMonth(int year, int month);

    static WORD VersionWord(int major, int minor) { return static_cast<WORD>(major * 256 + minor); }

    static WORD BuildWord(int build, int branch) { return static_cast<WORD>(build + branch * 1024); }

    // Checks the text; `value` holds the number when the outcome is kValid. Digit strings too
    // long for an integer are out of range.
    Outcome Check(const CLocaleNumberFormat& format, LPCSTR text, int& value) const;

    // The message for a failed check: "Invalid version element: %s." with the text, or
    // "Element out of range: %s <- %c%s; %s%c." with the number, "(", the minimum, the
    // maximum and ")". The formats come from the string table.
    CString Message(Outcome outcome, LPCSTR text, LPCSTR invalidFormat, LPCSTR rangeFormat) const;

    int GetMinimum() const { return m_minimum; }

    int GetMaximum() const { return m_maximum; }

private:
    int m_minimum;
    int m_maximum;
};
