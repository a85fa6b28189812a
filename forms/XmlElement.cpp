#include "forms/XmlElement.h"

#include "forms/XmlAsciiCase.h"
#include "forms/XmlEntities.h"
#include "forms/XmlFile.h"
#include "forms/XmlGlobalOptions.h"
#include "forms/XmlNode.h"
#include "forms/XmlParser.h"
#include "forms/XmlWriter.h"

#include <cstring>

namespace {

const XmlClear kEmptyClear;
const XmlAttribute kEmptyAttribute;

const char* const kErrorTexts[] = {
    "No error",
    "Warning: Unmatched end tag",
    "Warning: No XML tag found",
    "Error: No XML data",
    "Error: Missing start tag name",
    "Error: Missing end tag name",
    "Error: Unmatched end tag",
    "Error: Unmatched clear tag end",
    "Error: Unexpected token found",
    "Error: No elements found",
    "Error: File not found",
    "Error: First Tag not found",
    "Error: Unknown character entity",
    "Error: unable to convert between WideChar and MultiByte chars",
    "Error: unable to open file for writing",
    "Error: cannot write into file",
    "Warning: Base64-string length is not a multiple of 4",
    "Error: Base64-string contains an illegal character",
    "Warning: Base64-string is truncated",
    "Error: Base64 decode output buffer is too small",
};

// An index past the end stands for the last item; -1 when there is no item.
int ClampIndex(int index, size_t count) {
    if (index < 0 || count == 0) {
        return -1;
    }
    return static_cast<size_t>(index) < count ? index : static_cast<int>(count) - 1;
}

}  // namespace

XmlElement::XmlElement(std::shared_ptr<XmlNode> node) : m_node(std::move(node)) {}

XmlElement XmlElement::ParseString(const char* text, const char* firstTag, XmlParseResults* results) {
    return ParseString(text, text != nullptr ? std::strlen(text) : 0, firstTag, results);
}

XmlElement XmlElement::ParseString(const char* text,
                                   size_t length,
                                   const char* firstTag,
                                   XmlParseResults* results) {
    return XmlElement(XmlParser::ParseDocument(text, length, firstTag, results));
}

XmlElement XmlElement::ParseFile(const char* path, const char* firstTag, XmlParseResults* results) {
    return XmlElement(XmlFile::Parse(path, firstTag, results));
}

XmlElement XmlElement::LoadFile(const char* path, const char* firstTag, std::string* errorReport) {
    return XmlElement(XmlFile::Load(path, firstTag, errorReport));
}

bool XmlElement::SetGlobalOptions(XmlCharEncoding encoding, bool wideTextDetection, bool trimWhiteSpace) {
    return XmlGlobalOptions::Current().Set(encoding, wideTextDetection, trimWhiteSpace);
}

XmlCharEncoding XmlElement::GuessEncoding(const char* buffer, size_t length, bool lookForDeclaration) {
    return XmlFile::GuessEncoding(buffer, length, lookForDeclaration);
}

const char* XmlElement::XmlErrorText(XmlErrorCode code) {
    const int number = static_cast<int>(code);
    if (!XmlNode::InRange(number, sizeof(kErrorTexts) / sizeof(kErrorTexts[0]))) {
        return "Unknown";
    }
    return kErrorTexts[number];
}

XmlString XmlElement::ToXmlString(const char* text) {
    if (text == nullptr) {
        return XmlString();
    }
    std::string buffer;
    ToXmlString(text, buffer);
    return XmlString(std::move(buffer));
}

const char* XmlElement::ToXmlString(const char* text, std::string& buffer) {
    buffer.clear();
    if (text == nullptr) {
        return buffer.c_str();
    }
    const XmlCharSet& chars = XmlGlobalOptions::Current().CharSet();
    const size_t length = std::strlen(text);
    buffer.reserve(XmlEntities::EscapedLength(text, length, chars));
    XmlEntities::Escape(text, length, chars, buffer);
    return buffer.c_str();
}

XmlString XmlElement::FromXmlString(const char* text, XmlErrorCode* error) {
    return FromXmlString(text, text != nullptr ? std::strlen(text) : 0, error);
}

XmlString XmlElement::FromXmlString(const char* text, size_t length, XmlErrorCode* error) {
    if (error != nullptr) {
        *error = XmlErrorCode::None;
    }
    if (text == nullptr) {
        return XmlString();
    }
    std::string decoded;
    if (!XmlEntities::Decode(text, length, XmlGlobalOptions::Current().CharSet(), decoded)) {
        if (error != nullptr) {
            *error = XmlErrorCode::UnknownEntity;
        }
        return XmlString();
    }
    return XmlString(std::move(decoded));
}

const char* XmlElement::Version() {
    return "v2.30";
}

XmlString XmlElement::CreateString(bool format, int* length) const {
    if (length != nullptr) {
        *length = 0;
    }
    if (IsEmpty()) {
        return XmlString();
    }
    const XmlGlobalOptions& options = XmlGlobalOptions::Current();
    std::string text;
    XmlWriter(format && options.TrimWhiteSpace(), options.CharSet()).Write(*m_node, text);
    if (length != nullptr) {
        *length = static_cast<int>(text.size());
    }
    return XmlString(std::move(text));
}

void XmlElement::FreeString(XmlString& text) {
    text.Reset();
}

XmlErrorCode XmlElement::WriteToFile(const char* path, const char* encodingName, bool format) const {
    if (IsEmpty()) {
        return XmlErrorCode::None;
    }
    return XmlFile::Write(*m_node, path, encodingName, format);
}

XmlElement XmlElement::CreateTopElement(const char* name, bool declaration) {
    return XmlElement(std::make_shared<XmlNode>(XmlString(name), declaration));
}

bool XmlElement::IsDeclaration() const {
    return !IsEmpty() && m_node->declaration;
}

const char* XmlElement::GetName() const {
    return IsEmpty() ? nullptr : m_node->name.CStr();
}

XmlElement XmlElement::GetParent() const {
    if (IsEmpty() || m_node->parent == nullptr) {
        return XmlElement();
    }
    return XmlElement(m_node->parent->shared_from_this());
}

int XmlElement::ChildCount() const {
    return IsEmpty() ? 0 : static_cast<int>(m_node->children.size());
}

int XmlElement::TextCount() const {
    return IsEmpty() ? 0 : static_cast<int>(m_node->texts.size());
}

int XmlElement::ClearCount() const {
    return IsEmpty() ? 0 : static_cast<int>(m_node->clears.size());
}

int XmlElement::AttributeCount() const {
    return IsEmpty() ? 0 : static_cast<int>(m_node->attributes.size());
}

int XmlElement::ContentCount() const {
    return ChildCount() + TextCount() + ClearCount() + AttributeCount();
}

XmlElement XmlElement::GetChildAt(int index) const {
    if (IsEmpty() || !XmlNode::InRange(index, m_node->children.size())) {
        return XmlElement();
    }
    return XmlElement(m_node->children[static_cast<size_t>(index)]);
}

const char* XmlElement::GetText(int index) const {
    if (IsEmpty() || !XmlNode::InRange(index, m_node->texts.size())) {
        return nullptr;
    }
    return m_node->texts[static_cast<size_t>(index)].CStr();
}

const XmlClear& XmlElement::GetClear(int index) const {
    if (IsEmpty() || !XmlNode::InRange(index, m_node->clears.size())) {
        return kEmptyClear;
    }
    return m_node->clears[static_cast<size_t>(index)];
}

const XmlAttribute& XmlElement::GetAttributeAt(int index) const {
    if (IsEmpty() || !XmlNode::InRange(index, m_node->attributes.size())) {
        return kEmptyAttribute;
    }
    return m_node->attributes[static_cast<size_t>(index)];
}

const char* XmlElement::GetAttributeName(int index) const {
    return GetAttributeAt(index).Name();
}

const char* XmlElement::GetAttributeValue(int index) const {
    return GetAttributeAt(index).Value();
}

XmlElement XmlElement::GetChild(const char* name, int* index) const {
    if (IsEmpty()) {
        return XmlElement();
    }
    const size_t count = m_node->children.size();
    for (size_t i = index != nullptr && *index > 0 ? static_cast<size_t>(*index) : 0; i < count; ++i) {
        if (EqualsIgnoringAsciiCase(m_node->children[i]->name.CStr(), name)) {
            if (index != nullptr) {
                *index = static_cast<int>(i) + 1;
            }
            return XmlElement(m_node->children[i]);
        }
    }
    return XmlElement();
}

XmlElement XmlElement::GetChild(const char* name, int n) const {
    if (IsEmpty() || n < 0) {
        return XmlElement();
    }
    for (const std::shared_ptr<XmlNode>& child : m_node->children) {
        if (EqualsIgnoringAsciiCase(child->name.CStr(), name) && n-- == 0) {
            return XmlElement(child);
        }
    }
    return XmlElement();
}

int XmlElement::CountChildren(const char* name) const {
    int count = 0;
    for (int i = 0; i < ChildCount(); ++i) {
        if (EqualsIgnoringAsciiCase(m_node->children[static_cast<size_t>(i)]->name.CStr(), name)) {
            ++count;
        }
    }
    return count;
}

XmlElement XmlElement::GetChildWithAttribute(const char* childName,
                                             const char* attributeName,
                                             const char* attributeValue,
                                             int* index) const {
    int next = index != nullptr ? *index : 0;
    for (XmlElement child = GetChild(childName, &next); !child.IsEmpty();
         child = GetChild(childName, &next)) {
        for (const XmlAttribute& attribute : child.m_node->attributes) {
            if (!EqualsIgnoringAsciiCase(attribute.Name(), attributeName)) {
                continue;
            }
            if (attributeValue == nullptr || EqualsIgnoringAsciiCase(attribute.Value(), attributeValue)) {
                if (index != nullptr) {
                    *index = next;
                }
                return child;
            }
        }
    }
    return XmlElement();
}

const char* XmlElement::GetAttribute(const char* name, int* index) const {
    if (IsEmpty()) {
        return nullptr;
    }
    const size_t count = m_node->attributes.size();
    for (size_t i = index != nullptr && *index > 0 ? static_cast<size_t>(*index) : 0; i < count; ++i) {
        if (EqualsIgnoringAsciiCase(m_node->attributes[i].Name(), name)) {
            if (index != nullptr) {
                *index = static_cast<int>(i) + 1;
            }
            return m_node->attributes[i].Value();
        }
    }
    return nullptr;
}

const char* XmlElement::GetAttribute(const char* name, int n) const {
    if (IsEmpty() || n < 0) {
        return nullptr;
    }
    for (const XmlAttribute& attribute : m_node->attributes) {
        if (EqualsIgnoringAsciiCase(attribute.Name(), name) && n-- == 0) {
            return attribute.Value();
        }
    }
    return nullptr;
}

bool XmlElement::IsAttributeSet(const char* name) const {
    return FindAttribute(name) >= 0;
}

XmlContents XmlElement::EnumContents(int index) const {
    XmlContents contents;
    if (IsEmpty() || index < 0) {
        return contents;
    }
    const size_t attributes = m_node->attributes.size();
    if (static_cast<size_t>(index) < attributes) {
        contents.type = XmlContentType::Attribute;
        contents.attribute = &m_node->attributes[static_cast<size_t>(index)];
        return contents;
    }
    const size_t position = static_cast<size_t>(index) - attributes;
    if (position >= m_node->order.size()) {
        return contents;
    }
    const int entry = m_node->order[position];
    const size_t item = XmlNode::IndexOf(entry);
    switch (XmlNode::KindOf(entry)) {
    case XmlItemKind::Child:
        contents.type = XmlContentType::Child;
        contents.child = XmlElement(m_node->children[item]);
        break;
    case XmlItemKind::Text:
        contents.type = XmlContentType::Text;
        contents.text = m_node->texts[item].CStr();
        break;
    case XmlItemKind::Clear:
        contents.type = XmlContentType::Clear;
        contents.clear = &m_node->clears[item];
        break;
    }
    return contents;
}

int XmlElement::PositionOfText(int index) const {
    const int item = ClampIndex(index, static_cast<size_t>(TextCount()));
    return item < 0 ? -1 : m_node->PositionOf(XmlItemKind::Text, static_cast<size_t>(item));
}

int XmlElement::PositionOfText(const char* text) const {
    const int item = FindText(text);
    return item < 0 ? -1 : m_node->PositionOf(XmlItemKind::Text, static_cast<size_t>(item));
}

int XmlElement::PositionOfClear(int index) const {
    const int item = ClampIndex(index, static_cast<size_t>(ClearCount()));
    return item < 0 ? -1 : m_node->PositionOf(XmlItemKind::Clear, static_cast<size_t>(item));
}

int XmlElement::PositionOfClear(const char* text) const {
    const int item = FindClear(text);
    return item < 0 ? -1 : m_node->PositionOf(XmlItemKind::Clear, static_cast<size_t>(item));
}

int XmlElement::PositionOfClear(const XmlClear* clear) const {
    const int item = IndexOfClear(clear);
    return item < 0 ? -1 : m_node->PositionOf(XmlItemKind::Clear, static_cast<size_t>(item));
}

int XmlElement::PositionOfChild(int index) const {
    const int item = ClampIndex(index, static_cast<size_t>(ChildCount()));
    return item < 0 ? -1 : m_node->PositionOf(XmlItemKind::Child, static_cast<size_t>(item));
}

int XmlElement::PositionOfChild(const XmlElement& child) const {
    if (IsEmpty() || child.IsEmpty()) {
        return -1;
    }
    const int item = m_node->ChildIndexOf(child.m_node.get());
    return item < 0 ? -1 : m_node->PositionOf(XmlItemKind::Child, static_cast<size_t>(item));
}

int XmlElement::PositionOfChild(const char* name, int n) const {
    return PositionOfChild(GetChild(name, n));
}

// Lookups by text match the very pointer that a lookup returned first, else the first equal text.
int XmlElement::FindText(const char* text) const {
    if (IsEmpty() || text == nullptr) {
        return -1;
    }
    const std::vector<XmlString>& texts = m_node->texts;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].CStr() == text) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        if (std::strcmp(texts[i].CStr(), text) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int XmlElement::FindClear(const char* text) const {
    if (IsEmpty() || text == nullptr) {
        return -1;
    }
    const std::vector<XmlClear>& clears = m_node->clears;
    for (size_t i = 0; i < clears.size(); ++i) {
        if (clears[i].Text() == text) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < clears.size(); ++i) {
        if (clears[i].Text() != nullptr && std::strcmp(clears[i].Text(), text) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int XmlElement::FindAttribute(const char* name) const {
    if (IsEmpty()) {
        return -1;
    }
    for (size_t i = 0; i < m_node->attributes.size(); ++i) {
        if (EqualsIgnoringAsciiCase(m_node->attributes[i].Name(), name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int XmlElement::IndexOfAttribute(const XmlAttribute* attribute) const {
    if (IsEmpty() || attribute == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_node->attributes.size(); ++i) {
        if (&m_node->attributes[i] == attribute) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int XmlElement::IndexOfClear(const XmlClear* clear) const {
    if (IsEmpty() || clear == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_node->clears.size(); ++i) {
        if (&m_node->clears[i] == clear) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
