#pragma once
// The parser's process-wide options. Used from the UI thread only; not synchronised.

#include "forms/XmlCharSet.h"
#include "forms/XmlCodes.h"

class XmlGlobalOptions {
public:
    static XmlGlobalOptions& Current();

    // Sets both flags in any case; the encoding only when it is 1 to 3.
    // Returns true when the encoding number was not valid.
    bool Set(XmlCharEncoding encoding, bool wideTextDetection, bool trimWhiteSpace);

    XmlCharEncoding Encoding() const { return m_encoding; }

    const XmlCharSet& CharSet() const { return XmlCharSet::For(m_encoding); }

    // Files are tested for 16-bit text before they are parsed.
    bool WideTextDetection() const { return m_wideTextDetection; }

    // Text runs lose their leading and trailing white space; formatted writing is allowed.
    bool TrimWhiteSpace() const { return m_trimWhiteSpace; }

private:
    XmlCharEncoding m_encoding = XmlCharEncoding::Utf8;
    bool m_wideTextDetection = true;
    bool m_trimWhiteSpace = true;
};
