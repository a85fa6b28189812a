#pragma once
// Writes an element and its subtree as XML text, without recursion.

#include "forms/XmlCharSet.h"
#include "forms/XmlNode.h"

#include <string>

class XmlWriter {
public:
    // Formatted output puts every element line on its own line, indented by one tab per depth.
    XmlWriter(bool format, const XmlCharSet& chars);

    void Write(const XmlNode& node, std::string& out);

private:
    // Writes the start tag; returns whether the element has content to write and close.
    bool WriteStartTag(const XmlNode& node, int depth);
    void WriteEndTag(const XmlNode& node, int depth);
    void WriteText(const XmlString& text, int depth);
    void WriteClear(const XmlClear& clear, int depth);
    void Indent(int depth);
    void EndLine();

    bool m_format;
    const XmlCharSet& m_chars;
    std::string* m_out = nullptr;
};
