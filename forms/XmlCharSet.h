#pragma once
// Lead-byte lengths of the three byte encodings. Every walk over XML text steps by them,
// so that a multi-byte character is never split, and never past the end of the text.

#include "forms/XmlCodes.h"

#include <array>
#include <cstddef>

class XmlCharSet {
public:
    // The table of an encoding; anything but UTF-8 and Shift-JIS gets the single-byte table.
    static const XmlCharSet& For(XmlCharEncoding encoding);

    // Bytes of the character that starts at text[0], clamped to the bytes that remain (at least 1).
    size_t Step(const char* text, size_t remaining) const {
        size_t length = m_lengths[static_cast<unsigned char>(*text)];
        if (length <= 1) {
            return 1;
        }
        return length < remaining ? length : remaining;
    }

    // The table's value for a lead byte: 0 for the zero byte, else 1 to 4.
    int LeadLength(unsigned char lead) const { return m_lengths[lead]; }

    bool IsSingleByte() const { return m_singleByte; }

private:
    explicit XmlCharSet(XmlCharEncoding encoding);

    std::array<unsigned char, 256> m_lengths{};
    bool m_singleByte = true;
};
