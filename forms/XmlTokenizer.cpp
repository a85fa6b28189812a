#include "forms/XmlTokenizer.h"

#include "forms/XmlClear.h"

#include <cstring>

XmlTokenizer::XmlTokenizer(const char* text, size_t length, const XmlCharSet& chars)
    : m_text(text), m_length(length), m_chars(chars) {}

XmlToken XmlTokenizer::Next() {
    while (m_position < m_length && IsWhiteSpace(m_text[m_position])) {
        ++m_position;
    }
    XmlToken token;
    token.begin = m_position;
    if (m_position >= m_length) {
        token.end = m_position;
        return token;
    }
    const char c = m_text[m_position];
    if (c == '<') {
        return ReadMarkupOpening();
    }
    if (c == '/' && m_position + 1 < m_length && m_text[m_position + 1] == '>') {
        m_position += 2;
        token.type = XmlTokenType::EmptyClose;
    } else if (c == '=') {
        ++m_position;
        token.type = XmlTokenType::Equals;
    } else if (c == '>') {
        ++m_position;
        token.type = XmlTokenType::Close;
    } else {
        return ReadQuotedOrText();
    }
    token.end = m_position;
    return token;
}

XmlToken XmlTokenizer::ReadMarkupOpening() {
    XmlToken token;
    token.begin = m_position;
    for (size_t i = 0; i < XmlClear::KnownCount(); ++i) {
        if (StartsWith(m_position, XmlClear::KnownOpening(i))) {
            m_position += std::strlen(XmlClear::KnownOpening(i));
            token.type = XmlTokenType::ClearOpening;
            token.clearIndex = i;
            token.end = m_position;
            return token;
        }
    }
    const char next = m_position + 1 < m_length ? m_text[m_position + 1] : '\0';
    if (next == '/') {
        token.type = XmlTokenType::EndTagOpening;
        m_position += 2;
    } else if (next == '?') {
        token.type = XmlTokenType::DeclarationOpening;
        m_position += 2;
    } else {
        token.type = XmlTokenType::TagOpening;
        m_position += 1;
    }
    token.end = m_position;
    return token;
}

XmlToken XmlTokenizer::ReadQuotedOrText() {
    const size_t begin = m_position;
    const char quote = m_text[begin];
    if (quote != '"' && quote != '\'') {
        return ReadText(begin);
    }
    size_t i = begin + 1;
    while (i < m_length && m_text[i] != quote && m_text[i] != '<') {
        i += m_chars.Step(m_text + i, m_length - i);
    }
    if (i >= m_length || m_text[i] != quote) {
        // No matching quote before a tag or the end: the quote is ordinary text.
        return ReadText(begin);
    }
    XmlToken token;
    token.type = XmlTokenType::Quoted;
    token.begin = begin + 1;
    token.end = i;
    m_position = i + 1;
    return token;
}

XmlToken XmlTokenizer::ReadText(size_t begin) {
    size_t i = begin;
    while (i < m_length) {
        const char c = m_text[i];
        if (IsWhiteSpace(c) || c == '<' || c == '=' || c == '>') {
            break;
        }
        if (c == '/' && i + 1 < m_length && m_text[i + 1] == '>') {
            break;
        }
        i += m_chars.Step(m_text + i, m_length - i);
    }
    XmlToken token;
    token.type = XmlTokenType::Text;
    token.begin = begin;
    token.end = i;
    m_position = i;
    return token;
}

size_t XmlTokenizer::SkipContent() {
    if (m_chars.IsSingleByte()) {
        const void* found = std::memchr(m_text + m_position, '<', m_length - m_position);
        m_position =
            found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - m_text) : m_length;
        return m_position;
    }
    while (m_position < m_length && m_text[m_position] != '<') {
        m_position += m_chars.Step(m_text + m_position, m_length - m_position);
    }
    return m_position;
}

bool XmlTokenizer::FindClearEnd(size_t clearIndex, size_t& textEnd, const char*& closing) {
    closing = XmlClear::KnownClosing(clearIndex);
    if (clearIndex == XmlClear::DoctypeIndex()) {
        const size_t close = Find(m_position, ">");
        const size_t subset = Find(m_position, "<");
        if (subset < close) {
            closing = XmlClear::DoctypeSubsetClosing();
        }
    }
    const size_t found = Find(m_position, closing);
    if (found >= m_length) {
        return false;
    }
    textEnd = found;
    m_position = found + std::strlen(closing);
    return true;
}

bool XmlTokenizer::StartsWith(size_t at, const char* literal) const {
    const size_t length = std::strlen(literal);
    return length <= m_length - at && std::memcmp(m_text + at, literal, length) == 0;
}

// Position of the literal at a character start at or after from; the length when it is absent.
size_t XmlTokenizer::Find(size_t from, const char* literal) const {
    size_t i = from;
    while (i < m_length) {
        if (m_text[i] == literal[0] && StartsWith(i, literal)) {
            return i;
        }
        i += m_chars.Step(m_text + i, m_length - i);
    }
    return m_length;
}
