#include "forms/XmlGlobalOptions.h"

XmlGlobalOptions& XmlGlobalOptions::Current() {
    static XmlGlobalOptions options;
    return options;
}

bool XmlGlobalOptions::Set(XmlCharEncoding encoding, bool wideTextDetection, bool trimWhiteSpace) {
    m_wideTextDetection = wideTextDetection;
    m_trimWhiteSpace = trimWhiteSpace;
    const int number = static_cast<int>(encoding);
    if (number < 1 || number > 3) {
        return true;
    }
    m_encoding = encoding;
    return false;
}
