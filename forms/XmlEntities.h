#pragma once
// The five named entities and numeric character references: decoding parsed text and
// escaping text for writing.

#include "forms/XmlCharSet.h"

#include <cstddef>
#include <string>

class XmlEntities {
public:
    // Appends the decoded text to out. False for an unknown entity, a malformed or missing
    // reference end, or a reference to the zero byte (it would cut the text short).
    static bool Decode(const char* text, size_t length, const XmlCharSet& chars, std::string& out);

    // Appends the text with & < > " ' replaced by their entities.
    static void Escape(const char* text, size_t length, const XmlCharSet& chars, std::string& out);

    // Length of the escaped text.
    static size_t EscapedLength(const char* text, size_t length, const XmlCharSet& chars);
};
