#pragma once
// Recognises 16-bit (UTF-16LE) text files and converts them to the parser's 8-bit text.

#include "forms/XmlCodes.h"

#include <cstddef>
#include <string>

class XmlWideText {
public:
    // A byte-order mark FF FE, or 16-bit units that mostly carry a zero high byte and are never
    // zero themselves: how a 16-bit XML file looks, and an 8-bit one never does.
    static bool IsWideText(const unsigned char* data, size_t length);

    // Converts UTF-16LE units (an odd last byte is ignored; a zero unit ends the text) to UTF-8,
    // or to code page 1252 for any other encoding (characters it lacks become '?').
    // False when the text holds an unpaired surrogate and UTF-8 is asked for.
    static bool ToNarrow(const unsigned char* data, size_t length, XmlCharEncoding target, std::string& out);
};
