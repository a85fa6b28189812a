#include "forms/XmlParser.h"

#include "forms/XmlAsciiCase.h"
#include "forms/XmlEntities.h"
#include "forms/XmlGlobalOptions.h"

#include <cstring>
#include <string>

namespace {

bool IsNameTerminator(char c) {
    return XmlTokenizer::IsWhiteSpace(c) || c == '/' || c == '<' || c == '=' || c == '>';
}

// A trailing question mark before the '>' of a declaration belongs to the "?>", not to the text.
void DropTrailingQuestionMark(std::string& text) {
    if (!text.empty() && text.back() == '?') {
        text.pop_back();
    }
}

bool IsWarningOrSuccess(XmlErrorCode code) {
    return code == XmlErrorCode::None || code == XmlErrorCode::UnmatchedEndTagWarning ||
           code == XmlErrorCode::NoTagWarning;
}

// The element named tag: the start itself, else a child of it; a declaration child that does not
// match is descended into and the search goes on among its children.
std::shared_ptr<XmlNode> FindFirstTag(const std::shared_ptr<XmlNode>& start, const char* tag) {
    if (!start->name.IsNull() && EqualsIgnoringAsciiCase(start->name.CStr(), tag)) {
        return start;
    }
    const XmlNode* level = start.get();
    size_t i = 0;
    while (i < level->children.size()) {
        const std::shared_ptr<XmlNode>& child = level->children[i];
        if (!child->name.IsNull() && EqualsIgnoringAsciiCase(child->name.CStr(), tag)) {
            return child;
        }
        if (child->declaration) {
            level = child.get();
            i = 0;
            continue;
        }
        ++i;
    }
    return nullptr;
}

}  // namespace

XmlParser::XmlParser(const char* text, size_t length, const XmlCharSet& chars, bool trim)
    : m_tokenizer(text, length, chars), m_text(text), m_chars(chars), m_trim(trim) {}

std::shared_ptr<XmlNode> XmlParser::ParseDocument(const char* text,
                                                  size_t length,
                                                  const char* firstTag,
                                                  XmlParseResults* results) {
    XmlParseResults local;
    XmlParseResults& out = results != nullptr ? *results : local;
    out = XmlParseResults();
    if (text == nullptr) {
        out.error = XmlErrorCode::NoElements;
        return nullptr;
    }
    const void* zero = std::memchr(text, '\0', length);
    if (zero != nullptr) {
        length = static_cast<size_t>(static_cast<const char*>(zero) - text);
    }
    const XmlGlobalOptions& options = XmlGlobalOptions::Current();
    XmlParser parser(text, length, options.CharSet(), options.TrimWhiteSpace());
    auto top = std::make_shared<XmlNode>(XmlString(), false);
    XmlErrorCode code = parser.Parse(*top);
    size_t position = code == XmlErrorCode::None ? parser.m_tokenizer.Position() : parser.m_errorPosition;
    if (top->children.empty()) {
        code = XmlErrorCode::NoTagWarning;
        position = parser.m_tokenizer.Position();
    }
    std::shared_ptr<XmlNode> result = top;
    if (top->order.size() == 1 && top->children.size() == 1) {
        result = top->children.front();
    }
    if (IsWarningOrSuccess(code) && firstTag != nullptr && firstTag[0] != '\0') {
        result = FindFirstTag(result, firstTag);
        if (result == nullptr) {
            out.error = XmlErrorCode::FirstTagNotFound;
            return nullptr;
        }
    }
    out.error = code;
    if (code != XmlErrorCode::None) {
        LineAndColumn(text, position, options.CharSet(), out.line, out.column);
    }
    return IsWarningOrSuccess(code) ? result : nullptr;
}

void XmlParser::LineAndColumn(const char* text,
                              size_t position,
                              const XmlCharSet& chars,
                              int& line,
                              int& column) {
    line = 1;
    column = 1;
    size_t i = 0;
    while (i < position) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        i += chars.Step(text + i, position - i);
    }
}

XmlErrorCode XmlParser::Parse(XmlNode& top) {
    m_open.push_back(&top);
    while (true) {
        if (m_inStartTag) {
            const XmlToken token = m_tokenizer.Next();
            if (token.type == XmlTokenType::End) {
                AddPendingAttribute();
                break;
            }
            if (!ParseStartTagToken(token)) {
                return m_code;
            }
            continue;
        }
        const size_t runBegin = m_tokenizer.Position();
        const size_t runEnd = m_tokenizer.SkipContent();
        if (!FlushText(runBegin, runEnd)) {
            return m_code;
        }
        if (m_tokenizer.AtEnd()) {
            break;
        }
        if (!ParseContentMarkup()) {
            return m_code;
        }
    }
    CloseAtEnd();
    return m_code;
}

bool XmlParser::ParseStartTagToken(const XmlToken& token) {
    switch (token.type) {
    case XmlTokenType::Text:
        AddPendingAttribute();
        m_pendingName = token;
        m_hasPendingName = true;
        return true;
    case XmlTokenType::Equals: {
        if (!m_hasPendingName) {
            return Fail(XmlErrorCode::UnexpectedToken);
        }
        const XmlToken value = m_tokenizer.Next();
        if (value.type != XmlTokenType::Text && value.type != XmlTokenType::Quoted) {
            return Fail(XmlErrorCode::UnexpectedToken);
        }
        std::string decoded;
        if (!XmlEntities::Decode(m_text + value.begin, value.end - value.begin, m_chars, decoded)) {
            return Fail(XmlErrorCode::UnknownEntity);
        }
        m_open.back()->attributes.emplace_back(
            XmlString(m_text + m_pendingName.begin, m_pendingName.end - m_pendingName.begin),
            XmlString(std::move(decoded)));
        m_hasPendingName = false;
        return true;
    }
    case XmlTokenType::Close:
        m_inStartTag = false;
        return FinishStartTag();
    case XmlTokenType::EmptyClose:
        m_inStartTag = false;
        AddPendingAttribute();
        m_open.pop_back();
        return true;
    default:
        return Fail(XmlErrorCode::UnexpectedToken);
    }
}

void XmlParser::AddPendingAttribute() {
    if (m_hasPendingName) {
        m_open.back()->attributes.emplace_back(
            XmlString(m_text + m_pendingName.begin, m_pendingName.end - m_pendingName.begin), XmlString());
        m_hasPendingName = false;
    }
}

// Ends the start tag at '>'. In a declaration the question mark of its "?>" is taken off the
// last name or value that it stuck to; a lone one is dropped.
bool XmlParser::FinishStartTag() {
    XmlNode& node = *m_open.back();
    if (!node.declaration) {
        AddPendingAttribute();
        return true;
    }
    if (m_hasPendingName) {
        std::string name(m_text + m_pendingName.begin, m_pendingName.end - m_pendingName.begin);
        m_hasPendingName = false;
        DropTrailingQuestionMark(name);
        if (!name.empty()) {
            node.attributes.emplace_back(XmlString(std::move(name)), XmlString());
        }
        return true;
    }
    if (node.attributes.empty()) {
        std::string name(node.name.CStr(), node.name.Length());
        DropTrailingQuestionMark(name);
        node.name = XmlString(std::move(name));
        return true;
    }
    XmlAttribute& last = node.attributes.back();
    const bool onValue = last.Value() != nullptr;
    std::string text(onValue ? last.Value() : last.Name());
    if (text.empty() || text.back() != '?') {
        return true;
    }
    DropTrailingQuestionMark(text);
    if (onValue) {
        last.SetValue(XmlString(std::move(text)));
    } else {
        last.SetName(XmlString(std::move(text)));
    }
    return true;
}

bool XmlParser::ParseContentMarkup() {
    const XmlToken token = m_tokenizer.Next();
    switch (token.type) {
    case XmlTokenType::ClearOpening:
        return AddClear(token.clearIndex);
    case XmlTokenType::TagOpening:
        return OpenChild(false);
    case XmlTokenType::DeclarationOpening:
        return OpenChild(true);
    case XmlTokenType::EndTagOpening:
        return CloseByEndTag();
    default:
        // SkipContent stops only at '<', which always starts one of the above.
        return Fail(XmlErrorCode::UnexpectedToken);
    }
}

bool XmlParser::OpenChild(bool declaration) {
    const XmlToken name = m_tokenizer.Next();
    if (name.type != XmlTokenType::Text) {
        return Fail(XmlErrorCode::MissingStartTagName);
    }
    XmlNode& parent = *m_open.back();
    auto child =
        std::make_shared<XmlNode>(XmlString(m_text + name.begin, name.end - name.begin), declaration);
    child->parent = &parent;
    XmlNode* opened = child.get();
    parent.order.push_back(XmlNode::OrderEntry(parent.children.size(), XmlItemKind::Child));
    parent.children.push_back(std::move(child));
    m_open.push_back(opened);
    m_inStartTag = true;
    return true;
}

bool XmlParser::CloseByEndTag() {
    const XmlToken name = m_tokenizer.Next();
    if (name.type != XmlTokenType::Text || m_tokenizer.Next().type != XmlTokenType::Close) {
        return Fail(XmlErrorCode::MissingEndTagName);
    }
    bool first = true;
    while (m_open.size() > 1) {
        const XmlNode* node = m_open.back();
        m_open.pop_back();
        if (NameMatches(*node, name.begin)) {
            return true;
        }
        if (first) {
            Warn(m_tokenizer.Position());
            first = false;
        }
    }
    return Fail(XmlErrorCode::UnmatchedEndTag);
}

bool XmlParser::NameMatches(const XmlNode& node, size_t at) const {
    if (node.name.IsNull()) {
        return false;
    }
    const size_t length = node.name.Length();
    const size_t limit = m_tokenizer.Length();
    if (length >= limit - at) {
        return false;
    }
    const char* name = node.name.CStr();
    for (size_t i = 0; i < length; ++i) {
        if (LowerAscii(name[i]) != LowerAscii(m_text[at + i])) {
            return false;
        }
    }
    return IsNameTerminator(m_text[at + length]);
}

bool XmlParser::AddClear(size_t clearIndex) {
    const size_t begin = m_tokenizer.Position();
    size_t end = 0;
    const char* closing = nullptr;
    if (!m_tokenizer.FindClearEnd(clearIndex, end, closing)) {
        return Fail(XmlErrorCode::UnmatchedClearEnd);
    }
    XmlNode& node = *m_open.back();
    node.order.push_back(XmlNode::OrderEntry(node.clears.size(), XmlItemKind::Clear));
    node.clears.emplace_back(XmlString(m_text + begin, end - begin), XmlClear::KnownOpening(clearIndex),
                             closing);
    return true;
}

bool XmlParser::FlushText(size_t begin, size_t end) {
    if (m_trim) {
        while (begin < end && XmlTokenizer::IsWhiteSpace(m_text[begin])) {
            ++begin;
        }
        while (end > begin && XmlTokenizer::IsWhiteSpace(m_text[end - 1])) {
            --end;
        }
    }
    if (begin == end) {
        return true;
    }
    std::string decoded;
    if (!XmlEntities::Decode(m_text + begin, end - begin, m_chars, decoded)) {
        return Fail(XmlErrorCode::UnknownEntity);
    }
    XmlNode& node = *m_open.back();
    node.order.push_back(XmlNode::OrderEntry(node.texts.size(), XmlItemKind::Text));
    node.texts.emplace_back(std::move(decoded));
    return true;
}

void XmlParser::CloseAtEnd() {
    while (m_open.size() > 1) {
        if (!m_open.back()->declaration) {
            Warn(m_tokenizer.Length());
        }
        m_open.pop_back();
    }
}

bool XmlParser::Fail(XmlErrorCode code) {
    m_code = code;
    m_errorPosition = m_tokenizer.Position();
    return false;
}

void XmlParser::Warn(size_t position) {
    if (m_code != XmlErrorCode::None) {
        return;
    }
    m_code = XmlErrorCode::UnmatchedEndTagWarning;
    m_errorPosition = position;
}
