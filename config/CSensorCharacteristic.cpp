#include "config/CSensorCharacteristic.h"

#include "classlib/core/FormatText.h"
#include "forms/FormatRangeMessage.h"
#include "link/ParseLocaleDecimal.h"

#include <algorithm>
#include <cmath>

namespace {

// Values typed or computed in decimal come out a hair below the decimal (0.29 / 0.01 is
// 28.999...); without this nudge truncation would take off a whole last digit.
constexpr double kTruncationSlack = 1e-9;

}  // namespace

void CSensorCharacteristic::SetPointCount(int count) {
    m_count = std::clamp(count, 0, kMaxPoints);
}

void CSensorCharacteristic::SetMeasuredRange(double lower, double upper) {
    m_measuredLower = lower;
    m_measuredUpper = upper;
}

void CSensorCharacteristic::SetCalculatedRange(double lower, double upper) {
    m_calculatedLower = lower;
    m_calculatedUpper = upper;
}

void CSensorCharacteristic::SetMeasuredPoints(const double* points) {
    std::copy(points, points + m_count, m_measured.begin());
}

void CSensorCharacteristic::SetCalculatedPoints(const double* points) {
    std::copy(points, points + m_count, m_calculated.begin());
}

bool CSensorCharacteristic::IsFixed(Row row, int index) const {
    return index >= 0 && index < kMaxPoints && (m_fixedMask[row] >> index & 1u) != 0;
}

double CSensorCharacteristic::Convert(double measured) const {
    const double below = m_reverse ? m_calculatedUpper : m_calculatedLower;
    const double above = m_reverse ? m_calculatedLower : m_calculatedUpper;
    if (m_count == 0 || measured < m_measured[0]) {
        return below;
    }
    const std::size_t last = static_cast<std::size_t>(m_count - 1);
    if (measured > m_measured[last]) {
        return above;
    }
    if (measured == m_measured[0]) {
        return m_calculated[0];
    }
    std::size_t i = 1;
    while (i < last && measured > m_measured[i]) {
        ++i;
    }
    const double span = m_measured[i] - m_measured[i - 1];
    // Two equal measured points would divide by zero; the step takes the lower point's value.
    if (span == 0) {
        return m_calculated[i - 1];
    }
    return ((m_measured[i] - measured) * m_calculated[i - 1] +
            (measured - m_measured[i - 1]) * m_calculated[i]) /
           span;
}

void CSensorCharacteristic::Reverse() {
    m_reverse = !m_reverse;
    std::reverse(m_calculated.begin(), m_calculated.begin() + m_count);
}

CSensorCharacteristic::Bounds CSensorCharacteristic::EditBounds(Row row, int index) const {
    const std::size_t k = static_cast<std::size_t>(index);
    const bool first = index == 0;
    const bool last = index == m_count - 1;
    if (row == kMeasured) {
        return {first ? m_measuredLower : m_measured[k - 1], last ? m_measuredUpper : m_measured[k + 1]};
    }
    if (!m_reverse) {
        return {first ? m_calculatedLower : m_calculated[k - 1],
                last ? m_calculatedUpper : m_calculated[k + 1]};
    }
    return {last ? m_calculatedLower : m_calculated[k + 1], first ? m_calculatedUpper : m_calculated[k - 1]};
}

CString CSensorCharacteristic::Format(Row row) const {
    return FormatOfCode(m_decimals[row]);
}

CString CSensorCharacteristic::FormatValue(Row row, double value) const {
    return FormatText(Format(row), value);
}

CString CSensorCharacteristic::RangeMessage(Row row,
                                            const CString& pattern,
                                            double value,
                                            const Bounds& bounds) const {
    return FormatRangeMessage(pattern, FormatValue(row, value), FormatValue(row, bounds.lower),
                              FormatValue(row, bounds.upper));
}

double CSensorCharacteristic::TruncateToDecimals(double value, int code) {
    // Dividing by the power of ten keeps decimals exact where multiplying by 0.01 would not
    // (0.01 × 50 is a hair above 0.5, and 0.5 would then pass a bound of 0.5).
    const double scale = std::pow(10.0, code < 0 ? -code : code);
    const double steps = code < 0 ? value * scale : value / scale;
    const double nudged =
        steps + (steps < 0 ? -kTruncationSlack : kTruncationSlack) * std::max(1.0, std::fabs(steps));
    return code < 0 ? std::trunc(nudged) / scale : std::trunc(nudged) * scale;
}

CString CSensorCharacteristic::FormatOfCode(int code) {
    if (code >= 0) {
        return "%.0f";
    }
    CString format;
    format.Format("%%.%df", -code);
    return format;
}

bool CSensorCharacteristic::ParseDecimal(LPCSTR text, LPCSTR decimalSeparator, double& value) {
    return ParseLocaleDecimal(text, decimalSeparator, value);
}
