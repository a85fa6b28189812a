#pragma once
// Builds an element tree from XML text. The parse keeps its own stack of open elements, so
// that deep nesting cannot overflow the call stack.

#include "forms/XmlCharSet.h"
#include "forms/XmlCodes.h"
#include "forms/XmlNode.h"
#include "forms/XmlTokenizer.h"

#include <cstddef>
#include <memory>
#include <vector>

class XmlParser {
public:
    // Parses the text (cut at its first zero byte) with the process-wide options and returns the
    // result element, null on errors; see the results for the code and position.
    static std::shared_ptr<XmlNode> ParseDocument(const char* text,
                                                  size_t length,
                                                  const char* firstTag,
                                                  XmlParseResults* results);

    // 1-based line and column of a byte position, counting characters.
    static void LineAndColumn(const char* text,
                              size_t position,
                              const XmlCharSet& chars,
                              int& line,
                              int& column);

private:
    XmlParser(const char* text, size_t length, const XmlCharSet& chars, bool trim);

    XmlErrorCode Parse(XmlNode& top);
    bool ParseStartTagToken(const XmlToken& token);
    bool ParseContentMarkup();
    void AddPendingAttribute();
    bool FinishStartTag();
    bool OpenChild(bool declaration);
    bool CloseByEndTag();
    bool AddClear(size_t clearIndex);
    bool FlushText(size_t begin, size_t end);
    bool NameMatches(const XmlNode& node, size_t at) const;
    void CloseAtEnd();
    bool Fail(XmlErrorCode code);
    void Warn(size_t position);

    XmlTokenizer m_tokenizer;
    const char* m_text;
    const XmlCharSet& m_chars;
    bool m_trim;
    std::vector<XmlNode*> m_open;  // the open elements; the nameless top node first
    bool m_inStartTag = false;
    bool m_hasPendingName = false;
    XmlToken m_pendingName;
    XmlErrorCode m_code = XmlErrorCode::None;
    size_t m_errorPosition = 0;
};
