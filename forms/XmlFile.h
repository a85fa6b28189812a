#pragma once
// Reading XML files (16-bit text, byte-order marks, the encoding guess) and writing them.

#include "forms/XmlCodes.h"
#include "forms/XmlNode.h"

#include <cstddef>
#include <memory>
#include <string>

class XmlFile {
public:
    static std::shared_ptr<XmlNode> Parse(const char* path, const char* firstTag, XmlParseResults* results);

    // Sets the encoding from the file's first bytes, parses, and on a code other than 0 fills the
    // report for the user when one is asked for. Null on errors.
    static std::shared_ptr<XmlNode> Load(const char* path, const char* firstTag, std::string* report);

    static XmlErrorCode Write(const XmlNode& node, const char* path, const char* encodingName, bool format);

    static XmlCharEncoding GuessEncoding(const char* buffer, size_t length, bool lookForDeclaration);
};
