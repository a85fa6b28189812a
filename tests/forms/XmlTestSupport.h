#pragma once
// Helpers shared by the XML parser's tests.

#include "forms/XmlCodes.h"
#include "forms/XmlElement.h"

#include <string>

// Sets the parser's process-wide options for one test and puts the defaults back afterwards.
class ScopedXmlOptions {
public:
    ScopedXmlOptions(XmlCharEncoding encoding, bool wideTextDetection, bool trimWhiteSpace);
    ~ScopedXmlOptions();
    ScopedXmlOptions(const ScopedXmlOptions&) = delete;
    ScopedXmlOptions& operator=(const ScopedXmlOptions&) = delete;
};

// A canonical one-line picture of a tree: names, declaration marks, attributes and items in
// document order, so that two trees compare as strings.
std::string DescribeTree(const XmlElement& element);

// The element's text written without formatting, "" for the empty element.
std::string WriteFlat(const XmlElement& element);

// A file name in the temporary folder, removed when the object goes.
class TempXmlFile {
public:
    explicit TempXmlFile(const std::string& name);
    ~TempXmlFile();
    TempXmlFile(const TempXmlFile&) = delete;
    TempXmlFile& operator=(const TempXmlFile&) = delete;

    const char* Path() const { return m_path.c_str(); }

    void WriteBytes(const std::string& bytes) const;
    std::string ReadBytes() const;

private:
    std::string m_path;
};
