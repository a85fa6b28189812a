#pragma once
// An owned 8-bit, zero-terminated string that may also be null (a value-less attribute,
// a nameless element). The parser's texts, names and values are kept in it.

#include <cstddef>
#include <string>

class XmlString {
public:
    XmlString() = default;
    // Copies the text; a null text gives a null string.
    explicit XmlString(const char* text);
    XmlString(const char* text, size_t length);
    // Takes the text over without copying it.
    explicit XmlString(std::string&& text);

    bool IsNull() const { return m_null; }

    // Null or of length 0.
    bool IsEmpty() const { return m_text.empty(); }

    // Null for a null string. Valid until the string is changed or moved.
    const char* CStr() const { return m_null ? nullptr : m_text.c_str(); }

    size_t Length() const { return m_text.size(); }

    void Reset();

private:
    std::string m_text;
    bool m_null = true;
};
