#include "classlib/core/CPrintfFormatter.h"

#include "classlib/core/CFloatFormatter.h"
#include "classlib/core/CNumberLocale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Widths and precisions beyond this come only from a broken format; the clamp
// keeps such a format from taking all memory.
constexpr int kMaxField = 4096;

enum class Size {
    Default,
    Char,
    Short,
    Long,
    LongLong,
    LongDouble,
    SizeT,
    IntMax,
    PtrDiff,
    Int32,
    Int64
};

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // -1: none given
    Size size = Size::Default;
    char conversion = '\0';
};

// Walks a format and its arguments; one instance per call.
class CPrintfRun {
public:
    CPrintfRun(std::string& out, va_list args) : m_out(out) { va_copy(m_args, args); }

    ~CPrintfRun() { va_end(m_args); }

    CPrintfRun(const CPrintfRun&) = delete;
    CPrintfRun& operator=(const CPrintfRun&) = delete;

    void Run(const char* format) {
        const char* p = format;
        while (*p != '\0') {
            if (*p != '%') {
                m_out += *p++;
                continue;
            }
            const char* start = p++;
            Spec spec;
            p = ParseSpec(p, spec);
            if (spec.conversion == '\0') {
                m_out.append(start, static_cast<size_t>(p - start));
                break;
            }
            ++p;
            if (!Convert(spec)) {
                m_out.append(start, static_cast<size_t>(p - start));
            }
        }
    }

private:
    const char* ParseSpec(const char* p, Spec& spec) {
        for (;; ++p) {
            if (*p == '-') {
                spec.left = true;
            } else if (*p == '+') {
                spec.plus = true;
            } else if (*p == ' ') {
                spec.space = true;
            } else if (*p == '#') {
                spec.alternate = true;
            } else if (*p == '0') {
                spec.zero = true;
            } else {
                break;
            }
        }
        if (*p == '*') {
            const int width = va_arg(m_args, int);
            spec.left = spec.left || width < 0;
            spec.width = width < 0 ? (width == INT32_MIN ? kMaxField : -width) : width;
            ++p;
        } else {
            p = ParseNumber(p, spec.width);
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                const int precision = va_arg(m_args, int);
                spec.precision = precision < 0 ? -1 : precision;
                ++p;
            } else {
                p = ParseNumber(p, spec.precision);
            }
        }
        spec.width = std::min(spec.width, kMaxField);
        spec.precision = std::min(spec.precision, kMaxField);
        p = ParseSize(p, spec);
        spec.conversion = *p;
        return p;
    }

    static const char* ParseNumber(const char* p, int& value) {
        value = 0;
        while (*p >= '0' && *p <= '9') {
            value = std::min(value * 10 + (*p - '0'), kMaxField);
            ++p;
        }
        return p;
    }

    static const char* ParseSize(const char* p, Spec& spec) {
        switch (*p) {
        case 'h':
            spec.size = p[1] == 'h' ? Size::Char : Size::Short;
            return p + (p[1] == 'h' ? 2 : 1);
        case 'l':
            spec.size = p[1] == 'l' ? Size::LongLong : Size::Long;
            return p + (p[1] == 'l' ? 2 : 1);
        case 'L':
            spec.size = Size::LongDouble;
            return p + 1;
        case 'z':
            spec.size = Size::SizeT;
            return p + 1;
        case 'j':
            spec.size = Size::IntMax;
            return p + 1;
        case 't':
            spec.size = Size::PtrDiff;
            return p + 1;
        case 'I':
            if (p[1] == '6' && p[2] == '4') {
                spec.size = Size::Int64;
                return p + 3;
            }
            if (p[1] == '3' && p[2] == '2') {
                spec.size = Size::Int32;
                return p + 3;
            }
            spec.size = Size::SizeT;
            return p + 1;
        default:
            return p;
        }
    }

    bool Convert(const Spec& spec) {
        switch (spec.conversion) {
        case 'd':
        case 'i':
            return Signed(spec);
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            return Unsigned(spec);
        case 'c':
            return Character(spec);
        case 's':
            return String(spec);
        case 'p':
            return Pointer(spec);
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            return Float(spec);
        case 'n':
            // Writing through a pointer taken from the arguments is never wanted here.
            (void)va_arg(m_args, void*);
            return true;
        case '%':
            m_out += '%';
            return true;
        default:
            return false;
        }
    }

    long long SignedArgument(Size size) {
        switch (size) {
        case Size::Char:
            return static_cast<signed char>(va_arg(m_args, int));
        case Size::Short:
            return static_cast<short>(va_arg(m_args, int));
        case Size::Long:
            return va_arg(m_args, long);
        case Size::LongLong:
        case Size::Int64:
            return va_arg(m_args, long long);
        case Size::SizeT:
        case Size::PtrDiff:
            return va_arg(m_args, std::ptrdiff_t);
        case Size::IntMax:
            return va_arg(m_args, std::intmax_t);
        default:
            return va_arg(m_args, int);
        }
    }

    unsigned long long UnsignedArgument(Size size) {
        switch (size) {
        case Size::Char:
            return static_cast<unsigned char>(va_arg(m_args, unsigned int));
        case Size::Short:
            return static_cast<unsigned short>(va_arg(m_args, unsigned int));
        case Size::Long:
            return va_arg(m_args, unsigned long);
        case Size::LongLong:
        case Size::Int64:
            return va_arg(m_args, unsigned long long);
        case Size::SizeT:
        case Size::PtrDiff:
            return va_arg(m_args, std::size_t);
        case Size::IntMax:
            return va_arg(m_args, std::uintmax_t);
        default:
            return va_arg(m_args, unsigned int);
        }
    }

    void AppendInteger(const Spec& spec, bool negative, unsigned long long magnitude) {
        const unsigned base =
            spec.conversion == 'o' ? 8 : (spec.conversion == 'x' || spec.conversion == 'X' ? 16 : 10);
        const char* digitSet = spec.conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        std::string digits;
        for (unsigned long long rest = magnitude; rest != 0; rest /= base) {
            digits.insert(digits.begin(), digitSet[rest % base]);
        }
        const size_t minimumDigits = spec.precision < 0 ? 1 : static_cast<size_t>(spec.precision);
        if (digits.size() < minimumDigits) {
            digits.insert(0, minimumDigits - digits.size(), '0');
        }
        std::string prefix;
        const bool isSigned = spec.conversion == 'd' || spec.conversion == 'i';
        if (negative) {
            prefix = "-";
        } else if (isSigned && spec.plus) {
            prefix = "+";
        } else if (isSigned && spec.space) {
            prefix = " ";
        }
        if (spec.alternate && base == 16 && magnitude != 0) {
            prefix += spec.conversion == 'X' ? "0X" : "0x";
        }
        if (spec.alternate && base == 8 && (digits.empty() || digits[0] != '0')) {
            digits.insert(digits.begin(), '0');
        }
        Spec padding = spec;
        padding.zero = spec.zero && spec.precision < 0;
        AppendPadded(padding, prefix + digits, prefix.size());
    }

    bool Signed(const Spec& spec) {
        const long long value = SignedArgument(spec.size);
        const unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                                       : static_cast<unsigned long long>(value);
        AppendInteger(spec, value < 0, magnitude);
        return true;
    }

    bool Unsigned(const Spec& spec) {
        AppendInteger(spec, false, UnsignedArgument(spec.size));
        return true;
    }

    void AppendPadded(const Spec& spec, const std::string& text, size_t signLength = 0) {
        const size_t width = static_cast<size_t>(spec.width);
        if (text.size() >= width) {
            m_out += text;
            return;
        }
        const size_t fill = width - text.size();
        if (spec.left) {
            m_out += text;
            m_out.append(fill, ' ');
        } else if (spec.zero) {
            m_out.append(text, 0, signLength);
            m_out.append(fill, '0');
            m_out.append(text, signLength, std::string::npos);
        } else {
            m_out.append(fill, ' ');
            m_out += text;
        }
    }

    bool Character(const Spec& spec) {
        // Bytes 0x80 to 0xFF pass unchanged: the texts are 8-bit.
        const char c = static_cast<char>(va_arg(m_args, int));
        AppendPadded(spec, std::string(1, c));
        return true;
    }

    bool String(const Spec& spec) {
        const char* text = va_arg(m_args, const char*);
        if (text == nullptr) {
            text = "(null)";
        }
        const size_t length =
            spec.precision >= 0 ? strnlen(text, static_cast<size_t>(spec.precision)) : std::strlen(text);
        AppendPadded(spec, std::string(text, length));
        return true;
    }

    // Fixed width upper-case hex, as the Windows runtime writes pointers.
    bool Pointer(const Spec& spec) {
        const auto value = reinterpret_cast<std::uintptr_t>(va_arg(m_args, void*));
        static const char kHex[] = "0123456789ABCDEF";
        std::string text(2 * sizeof(void*), '0');
        std::uintptr_t rest = value;
        for (size_t i = text.size(); i-- > 0; rest >>= 4) {
            text[i] = kHex[rest & 0xF];
        }
        AppendPadded(spec, text);
        return true;
    }

    bool Float(const Spec& spec) {
        const double value = spec.size == Size::LongDouble ? static_cast<double>(va_arg(m_args, long double))
                                                           : va_arg(m_args, double);
        CFloatFormatter::Style style;
        style.precision = spec.precision < 0 ? 6 : spec.precision;
        style.separator = CNumberLocale::GetDecimalSeparator();
        style.alternate = spec.alternate;
        style.upper = spec.conversion == 'E' || spec.conversion == 'G' || spec.conversion == 'F';
        std::string text;
        if (std::signbit(value) && !std::isnan(value)) {
            text = "-";
        } else if (spec.plus) {
            text = "+";
        } else if (spec.space) {
            text = " ";
        }
        const size_t signLength = text.size();
        switch (spec.conversion) {
        case 'e':
        case 'E':
            text += CFloatFormatter::Exponent(value, style);
            break;
        case 'g':
        case 'G':
            text += CFloatFormatter::General(value, style);
            break;
        default:
            text += CFloatFormatter::Fixed(value, style);
            break;
        }
        Spec padding = spec;
        padding.zero = spec.zero && std::isfinite(value);
        AppendPadded(padding, text, signLength);
        return true;
    }

    std::string& m_out;
    va_list m_args;
};

}  // namespace

void CPrintfFormatter::AppendV(std::string& out, LPCSTR format, va_list args) {
    if (format == nullptr) {
        return;
    }
    CPrintfRun run(out, args);
    run.Run(format);
}
