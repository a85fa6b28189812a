#pragma once
// Base64 (RFC 4648 alphabet, '=' padding) for binary data kept in XML texts.

#include "forms/XmlCodes.h"

#include <cstddef>
#include <string>

class XmlBase64 {
public:
    // Encodes the bytes; with line breaks an LF follows every 72 characters.
    static std::string Encode(const unsigned char* data, size_t length, bool lineBreaks);

    // Bytes that Decode will produce: three quarters of the alphabet characters before the
    // trailing '=' signs, rounded down.
    static size_t DecodedSize(const char* text);

    // Decodes into the buffer, skipping white space. Errors: an illegal character, a buffer
    // too small. Warnings (the output is still written): a character count that is not a
    // multiple of 4, and a '=' or the end in the middle of a group.
    static XmlErrorCode Decode(const char* text, unsigned char* buffer, size_t capacity, size_t* written);

private:
    static size_t EncodedCapacity(size_t length, bool lineBreaks);
};
