#include "classlib/core/CFloatFormatter.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Significant digits every double is taken to before the requested rounding;
// 17 tell every double apart from its neighbours.
constexpr int kSignificantDigits = 17;
constexpr std::uint32_t kLimbBase = 1000000000;
constexpr int kLimbDigits = 9;

// Non-negative integer in base 10^9, least significant limb first.
class CBigDecimal {
public:
    explicit CBigDecimal(std::uint64_t value) {
        do {
            m_limbs.push_back(static_cast<std::uint32_t>(value % kLimbBase));
            value /= kLimbBase;
        } while (value != 0);
    }

    void Multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : m_limbs) {
            const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
            limb = static_cast<std::uint32_t>(product % kLimbBase);
            carry = product / kLimbBase;
        }
        while (carry != 0) {
            m_limbs.push_back(static_cast<std::uint32_t>(carry % kLimbBase));
            carry /= kLimbBase;
        }
    }

    // Multiplies by base^exponent in steps that keep every product inside 64 bits.
    void MultiplyPower(std::uint32_t stepFactor, int stepExponent, std::uint32_t base, int exponent) {
        while (exponent >= stepExponent) {
            Multiply(stepFactor);
            exponent -= stepExponent;
        }
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent) {
            rest *= base;
        }
        Multiply(rest);
    }

    std::string ToString() const {
        std::string text = std::to_string(m_limbs.back());
        for (size_t i = m_limbs.size() - 1; i-- > 0;) {
            const std::string limb = std::to_string(m_limbs[i]);
            text.append(kLimbDigits - limb.size(), '0');
            text += limb;
        }
        return text;
    }

private:
    std::vector<std::uint32_t> m_limbs;
};

void StripTrailingZeros(CFloatFormatter::Digits& number) {
    const size_t last = number.digits.find_last_not_of('0');
    number.digits.erase(last == std::string::npos ? 0 : last + 1);
    if (number.digits.empty()) {
        number.pointPos = 0;
    }
}

char DigitAt(const CFloatFormatter::Digits& number, int index) {
    if (index < 0 || index >= static_cast<int>(number.digits.size())) {
        return '0';
    }
    return number.digits[static_cast<size_t>(index)];
}

CFloatFormatter::Digits SignificantDigits(double value) {
    CFloatFormatter::Digits number = CFloatFormatter::ExactDigits(value);
    CFloatFormatter::RoundDigits(number, kSignificantDigits);
    return number;
}

std::string NonFinite(double value, bool upper) {
    if (std::isnan(value)) {
        return upper ? "NAN" : "nan";
    }
    return upper ? "INF" : "inf";
}

std::string FixedText(const CFloatFormatter::Digits& number, const CFloatFormatter::Style& style) {
    std::string text;
    if (number.pointPos <= 0) {
        text = "0";
    } else {
        for (int i = 0; i < number.pointPos; ++i) {
            text += DigitAt(number, i);
        }
    }
    if (style.precision > 0 || style.alternate) {
        text += style.separator;
    }
    for (int i = 0; i < style.precision; ++i) {
        text += DigitAt(number, number.pointPos + i);
    }
    return text;
}

// Three exponent digits at least, as the Windows runtime writes them.
std::string ExponentText(const CFloatFormatter::Digits& number, const CFloatFormatter::Style& style) {
    std::string text(1, DigitAt(number, 0));
    if (style.precision > 0 || style.alternate) {
        text += style.separator;
    }
    for (int i = 1; i <= style.precision; ++i) {
        text += DigitAt(number, i);
    }
    const int exponent = number.digits.empty() ? 0 : number.pointPos - 1;
    text += style.upper ? 'E' : 'e';
    text += exponent < 0 ? '-' : '+';
    const std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    text.append(digits.size() < 3 ? 3 - digits.size() : 0, '0');
    text += digits;
    return text;
}

void RemoveTrailingFractionZeros(std::string& text, char separator) {
    const size_t point = text.find(separator);
    if (point == std::string::npos) {
        return;
    }
    const size_t exponent = text.find_first_of("eE", point);
    const size_t end = exponent == std::string::npos ? text.size() : exponent;
    size_t keep = end;
    while (keep > point + 1 && text[keep - 1] == '0') {
        --keep;
    }
    if (keep == point + 1) {
        keep = point;
    }
    text.erase(keep, end - keep);
}

}  // namespace

CFloatFormatter::Digits CFloatFormatter::ExactDigits(double value) {
    Digits number;
    value = std::fabs(value);
    if (value == 0.0 || !std::isfinite(value)) {
        return number;
    }
    int binaryExponent = 0;
    const double fraction = std::frexp(value, &binaryExponent);
    // value = mantissa * 2^shift exactly, with a 53-bit mantissa.
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = binaryExponent - 53;
    CBigDecimal big(mantissa);
    if (shift >= 0) {
        big.MultiplyPower(1u << 29, 29, 2, shift);
        number.digits = big.ToString();
        number.pointPos = static_cast<int>(number.digits.size());
    } else {
        // mantissa / 2^k = mantissa * 5^k / 10^k
        big.MultiplyPower(1220703125u, 13, 5, -shift);
        number.digits = big.ToString();
        number.pointPos = static_cast<int>(number.digits.size()) + shift;
    }
    StripTrailingZeros(number);
    return number;
}

void CFloatFormatter::RoundDigits(Digits& number, int count) {
    if (count >= static_cast<int>(number.digits.size())) {
        return;
    }
    const bool roundUp = count >= 0 && number.digits[static_cast<size_t>(count)] >= '5';
    number.digits.erase(count < 0 ? 0 : static_cast<size_t>(count));
    if (roundUp) {
        size_t i = number.digits.size();
        while (i > 0 && number.digits[i - 1] == '9') {
            number.digits[--i] = '0';
        }
        if (i == 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.pointPos;
        } else {
            ++number.digits[i - 1];
        }
    }
    StripTrailingZeros(number);
}

std::string CFloatFormatter::Fixed(double value, const Style& style) {
    if (!std::isfinite(value)) {
        return NonFinite(value, style.upper);
    }
    Digits number = SignificantDigits(value);
    RoundDigits(number, number.pointPos + style.precision);
    return FixedText(number, style);
}

std::string CFloatFormatter::Exponent(double value, const Style& style) {
    if (!std::isfinite(value)) {
        return NonFinite(value, style.upper);
    }
    Digits number = SignificantDigits(value);
    RoundDigits(number, style.precision + 1);
    return ExponentText(number, style);
}

std::string CFloatFormatter::General(double value, const Style& style) {
    if (!std::isfinite(value)) {
        return NonFinite(value, style.upper);
    }
    const int precision = style.precision == 0 ? 1 : style.precision;
    Digits number = SignificantDigits(value);
    RoundDigits(number, precision);
    const int exponent = number.digits.empty() ? 0 : number.pointPos - 1;
    Style shown = style;
    std::string text;
    if (exponent < precision && exponent >= -4) {
        shown.precision = precision - 1 - exponent;
        text = FixedText(number, shown);
    } else {
        shown.precision = precision - 1;
        text = ExponentText(number, shown);
    }
    if (!style.alternate) {
        RemoveTrailingFractionZeros(text, style.separator);
    }
    return text;
}
