#include "forms/XmlClear.h"

#include <cstring>

namespace {

struct ClearTags {
    const char* opening;
    const char* closing;
};

// Matched in this order, case-sensitive.
const ClearTags kKnownTags[] = {
    {XmlClear::kCdataOpening, XmlClear::kCdataClosing},
    {"<!DOCTYPE", ">"},
    {"<PRE>", "</PRE>"},
    {"<Script>", "</Script>"},
    {"<!--", "-->"},
};

const char kDoctypeSubsetClosing[] = "]>";
const size_t kDoctypeIndex = 1;

// The table's own text equal to the given one, or null.
const char* FindStaticTag(const char* tag) {
    for (const ClearTags& known : kKnownTags) {
        if (std::strcmp(known.opening, tag) == 0) {
            return known.opening;
        }
        if (std::strcmp(known.closing, tag) == 0) {
            return known.closing;
        }
    }
    if (std::strcmp(kDoctypeSubsetClosing, tag) == 0) {
        return kDoctypeSubsetClosing;
    }
    return nullptr;
}

}  // namespace

XmlClear::XmlClear(XmlString text, const char* opening, const char* closing) : m_text(std::move(text)) {
    PointTags(opening == nullptr ? kCdataOpening : opening, closing == nullptr ? kCdataClosing : closing);
}

XmlClear::XmlClear(XmlClear&& other) noexcept {
    *this = std::move(other);
}

XmlClear& XmlClear::operator=(XmlClear&& other) noexcept {
    if (this == &other) {
        return *this;
    }
    // A moved string may move its characters, so custom tags are pointed at again.
    const bool customOpening = other.m_opening == other.m_customOpening.CStr();
    const bool customClosing = other.m_closing == other.m_customClosing.CStr();
    m_text = std::move(other.m_text);
    m_customOpening = std::move(other.m_customOpening);
    m_customClosing = std::move(other.m_customClosing);
    m_opening = customOpening ? m_customOpening.CStr() : other.m_opening;
    m_closing = customClosing ? m_customClosing.CStr() : other.m_closing;
    other.m_opening = nullptr;
    other.m_closing = nullptr;
    return *this;
}

void XmlClear::PointTags(const char* opening, const char* closing) {
    m_opening = FindStaticTag(opening);
    if (m_opening == nullptr) {
        m_customOpening = XmlString(opening);
        m_opening = m_customOpening.CStr();
    }
    m_closing = FindStaticTag(closing);
    if (m_closing == nullptr) {
        m_customClosing = XmlString(closing);
        m_closing = m_customClosing.CStr();
    }
}

size_t XmlClear::KnownCount() {
    return sizeof(kKnownTags) / sizeof(kKnownTags[0]);
}

const char* XmlClear::KnownOpening(size_t index) {
    return kKnownTags[index].opening;
}

const char* XmlClear::KnownClosing(size_t index) {
    return kKnownTags[index].closing;
}

size_t XmlClear::DoctypeIndex() {
    return kDoctypeIndex;
}

const char* XmlClear::DoctypeSubsetClosing() {
    return kDoctypeSubsetClosing;
}
