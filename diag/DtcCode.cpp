// Conversion between trouble codes and their texts.
#include "diag/DtcCode.h"

#include <cstring>

namespace {

const char kLetters[] = {'P', 'C', 'B', 'U'};

bool IsDigitUpTo(char c, int highest) {
    return c >= '0' && c <= '0' + highest;
}

}  // namespace

bool DtcCodeToText(WORD code, CString& text) {
    const int first = code & 0xFF;
    const int second = code >> 8;
    const int digit2 = first & 0x0F;
    const int digit3 = second >> 4;
    const int digit4 = second & 0x0F;
    if (digit2 > 9 || digit3 > 9 || digit4 > 9) {
        return false;
    }
    text.Format("%c%d%d%d%d", kLetters[first >> 6], (first >> 4) & 3, digit2, digit3, digit4);
    return true;
}

bool DtcTextToCode(LPCSTR text, WORD& code) {
    if (text == nullptr || std::strlen(text) != 5) {
        return false;
    }
    const void* letter = std::memchr(kLetters, text[0], sizeof kLetters);
    if (letter == nullptr || !IsDigitUpTo(text[1], 3) || !IsDigitUpTo(text[2], 9) ||
        !IsDigitUpTo(text[3], 9) || !IsDigitUpTo(text[4], 9)) {
        return false;
    }
    const int letterBits = static_cast<int>(static_cast<const char*>(letter) - kLetters);
    const int first = letterBits << 6 | (text[1] - '0') << 4 | (text[2] - '0');
    const int second = (text[3] - '0') << 4 | (text[4] - '0');
    code = static_cast<WORD>(first | second << 8);
    return true;
}
