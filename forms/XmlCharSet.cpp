#include "forms/XmlCharSet.h"

namespace {

void FillRange(std::array<unsigned char, 256>& lengths, int first, int last, unsigned char length) {
    for (int b = first; b <= last; ++b) {
        lengths[b] = length;
    }
}

}  // namespace

XmlCharSet::XmlCharSet(XmlCharEncoding encoding) {
    FillRange(m_lengths, 0x01, 0xFF, 1);
    m_lengths[0] = 0;
    if (encoding == XmlCharEncoding::Utf8) {
        FillRange(m_lengths, 0xC2, 0xDF, 2);
        FillRange(m_lengths, 0xE0, 0xEF, 3);
        FillRange(m_lengths, 0xF0, 0xF4, 4);
        m_singleByte = false;
    } else if (encoding == XmlCharEncoding::ShiftJis) {
        FillRange(m_lengths, 0x81, 0x9F, 2);
        FillRange(m_lengths, 0xE0, 0xEF, 2);
        m_singleByte = false;
    }
}

const XmlCharSet& XmlCharSet::For(XmlCharEncoding encoding) {
    static const XmlCharSet utf8(XmlCharEncoding::Utf8);
    static const XmlCharSet singleByte(XmlCharEncoding::SingleByte);
    static const XmlCharSet shiftJis(XmlCharEncoding::ShiftJis);
    switch (encoding) {
    case XmlCharEncoding::Utf8:
        return utf8;
    case XmlCharEncoding::ShiftJis:
        return shiftJis;
    default:
        return singleByte;
    }
}
