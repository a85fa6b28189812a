#pragma once
// An opaque section of an XML document (CDATA, comment, DOCTYPE, ...), kept verbatim with
// the texts that open and close it, and the table of the sections the parser knows.

#include "forms/XmlString.h"

#include <cstddef>

class XmlClear {
public:
    static constexpr const char* kCdataOpening = "<![CDATA[";
    static constexpr const char* kCdataClosing = "]]>";

    XmlClear() = default;
    // Tags from the table are kept as pointers to the table's texts; any other tag is copied.
    // A null tag stands for the CDATA opening or closing.
    XmlClear(XmlString text, const char* opening, const char* closing);

    XmlClear(XmlClear&& other) noexcept;
    XmlClear& operator=(XmlClear&& other) noexcept;
    XmlClear(const XmlClear&) = delete;
    XmlClear& operator=(const XmlClear&) = delete;

    // All three are null for the empty section that lookups past the end return.
    const char* Text() const { return m_text.CStr(); }

    const char* Opening() const { return m_opening; }

    const char* Closing() const { return m_closing; }

    void SetText(XmlString text) { m_text = std::move(text); }

    // The table of known sections, in the order the tokenizer tries them.
    static size_t KnownCount();
    static const char* KnownOpening(size_t index);
    static const char* KnownClosing(size_t index);
    // Index of the DOCTYPE entry, whose closing depends on an internal subset.
    static size_t DoctypeIndex();
    // Closing of a DOCTYPE with an internal subset.
    static const char* DoctypeSubsetClosing();

private:
    void PointTags(const char* opening, const char* closing);

    XmlString m_text;
    const char* m_opening = nullptr;  // a table text or m_customOpening's text
    const char* m_closing = nullptr;  // a table text or m_customClosing's text
    XmlString m_customOpening;
    XmlString m_customClosing;
};
