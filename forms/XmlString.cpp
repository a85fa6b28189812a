#include "forms/XmlString.h"

XmlString::XmlString(const char* text) {
    if (text == nullptr) {
        return;
    }
    m_text.assign(text);
    m_null = false;
}

XmlString::XmlString(const char* text, size_t length) {
    if (text == nullptr) {
        return;
    }
    m_text.assign(text, length);
    m_null = false;
}

XmlString::XmlString(std::string&& text) : m_text(std::move(text)), m_null(false) {}

void XmlString::Reset() {
    m_text.clear();
    m_text.shrink_to_fit();
    m_null = true;
}
