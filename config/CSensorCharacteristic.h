// The characteristic of one analogue sensor as the sensor characteristic dialog edits it: up
// to 32 points of measured value (sensor voltage) against calculated value (level, pressure
// or temperature), the ranges at both ends, the reverse flag and the display precision of
// each row. Converts a measured value through the characteristic and gives the bounds
// within which a point may be edited.
#pragma once

#include "classlib/core/CString.h"

#include <array>

class CSensorCharacteristic {
public:
    static constexpr int kMaxPoints = 32;

    enum Row {
        kMeasured = 0,
        kCalculated = 1,
    };

    struct Bounds {
        double lower;
        double upper;
    };

    // Counts above 32 are cut to 32, negative ones to 0.
    void SetPointCount(int count);

    int GetPointCount() const { return m_count; }

    void SetMeasuredRange(double lower, double upper);
    void SetCalculatedRange(double lower, double upper);

    double GetMeasuredLower() const { return m_measuredLower; }

    double GetMeasuredUpper() const { return m_measuredUpper; }

    // Copy the first GetPointCount() values.
    void SetMeasuredPoints(const double* points);
    void SetCalculatedPoints(const double* points);

    double GetPoint(Row row, int index) const { return Points(row)[static_cast<std::size_t>(index)]; }

    void SetReverse(bool reverse) { m_reverse = reverse; }

    bool IsReverse() const { return m_reverse; }

    // A negative code -d means d decimals; zero or positive codes show whole numbers.
    void SetDecimals(Row row, int code) { m_decimals[row] = code; }

    // Bit i set: point i of the row cannot be edited.
    void SetFixedMask(Row row, unsigned mask) { m_fixedMask[row] = mask; }

    bool IsFixed(Row row, int index) const;

    // The calculated value of a measured value; outside the points the calculated range's
    // end on that side (the other end when reversed).
    double Convert(double measured) const;

    // Toggles the reverse flag and puts the calculated points into the opposite order.
    void Reverse();

    // The open interval in which a new value of the row's point must lie.
    Bounds EditBounds(Row row, int index) const;

    // The printf format of the row's values, "%.2f" for the code -2.
    CString Format(Row row) const;
    CString FormatValue(Row row, double value) const;

    double Truncate(Row row, double value) const { return TruncateToDecimals(value, m_decimals[row]); }

    // "Element out of range: %s <- %c%s; %s%c." filled with the row's format and the value.
    CString RangeMessage(Row row, const CString& pattern, double value, const Bounds& bounds) const;

    // 10^code times the whole part (toward zero) of value / 10^code.
    static double TruncateToDecimals(double value, int code);
    static CString FormatOfCode(int code);
    // Reads a decimal typed with the locale's separator; false when no number leads the text.
    static bool ParseDecimal(LPCSTR text, LPCSTR decimalSeparator, double& value);

private:
    const std::array<double, kMaxPoints>& Points(Row row) const {
        return row == kMeasured ? m_measured : m_calculated;
    }

    int m_count = 0;
    double m_measuredLower = 0;
    double m_measuredUpper = 0;
    double m_calculatedLower = 0;
    double m_calculatedUpper = 0;
    std::array<double, kMaxPoints> m_measured{};
    std::array<double, kMaxPoints> m_calculated{};
    bool m_reverse = false;
    int m_decimals[2] = {0, 0};
    unsigned m_fixedMask[2] = {0, 0};
};
