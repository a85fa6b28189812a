#pragma once
// Splits XML text into the parser's tokens. The text is a bounded view: nothing beyond its
// length is ever read, also when a multi-byte character is cut off at the end.

#include "forms/XmlCharSet.h"

#include <cstddef>

enum class XmlTokenType {
    End,
    ClearOpening,        // one of the clear-section openings; clearIndex tells which
    EndTagOpening,       // "</"
    DeclarationOpening,  // "<?"
    TagOpening,          // "<"
    EmptyClose,          // "/>"
    Equals,
    Close,   // ">"
    Quoted,  // begin and end delimit the text between the quotes
    Text,
};

struct XmlToken {
    XmlTokenType type = XmlTokenType::End;
    size_t begin = 0;
    size_t end = 0;
    size_t clearIndex = 0;
};

class XmlTokenizer {
public:
    XmlTokenizer(const char* text, size_t length, const XmlCharSet& chars);

    // Skips white space and reads the next token.
    XmlToken Next();

    // Content mode: moves to the next '<' that starts a character, or to the end, and returns
    // where the run of content text that it passed over ends.
    size_t SkipContent();

    // Looks for the end of the clear section whose opening has just been read. On success the
    // section's text is [begin, textEnd), closing is the closing text and the position is past it.
    bool FindClearEnd(size_t clearIndex, size_t& textEnd, const char*& closing);

    bool AtEnd() const { return m_position >= m_length; }

    size_t Position() const { return m_position; }

    const char* Text() const { return m_text; }

    size_t Length() const { return m_length; }

    static bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

private:
    XmlToken ReadMarkupOpening();
    XmlToken ReadQuotedOrText();
    XmlToken ReadText(size_t begin);
    bool StartsWith(size_t at, const char* literal) const;
    size_t Find(size_t from, const char* literal) const;

    const char* m_text;
    size_t m_length;
    const XmlCharSet& m_chars;
    size_t m_position = 0;
};
