#include "forms/XmlWriter.h"

#include "forms/XmlEntities.h"

#include <vector>

namespace {

struct OpenFrame {
    const XmlNode* node;
    size_t next;     // next entry of the order array
    int depth;       // the element's own depth
    int childDepth;  // declarations and the nameless node do not indent their children
};

}  // namespace

XmlWriter::XmlWriter(bool format, const XmlCharSet& chars) : m_format(format), m_chars(chars) {}

void XmlWriter::Write(const XmlNode& node, std::string& out) {
    m_out = &out;
    std::vector<OpenFrame> stack;
    auto open = [&](const XmlNode& element, int depth) {
        if (WriteStartTag(element, depth)) {
            const bool flat = element.declaration || element.name.IsNull();
            stack.push_back({&element, 0, depth, flat ? depth : depth + 1});
        }
    };
    open(node, 0);
    while (!stack.empty()) {
        OpenFrame& frame = stack.back();
        if (frame.next >= frame.node->order.size()) {
            WriteEndTag(*frame.node, frame.depth);
            stack.pop_back();
            continue;
        }
        const int entry = frame.node->order[frame.next++];
        const size_t index = XmlNode::IndexOf(entry);
        const int depth = frame.depth;
        const int childDepth = frame.childDepth;
        const XmlNode& element = *frame.node;  // frame may move when a child is pushed
        switch (XmlNode::KindOf(entry)) {
        case XmlItemKind::Child:
            open(*element.children[index], childDepth);
            break;
        case XmlItemKind::Text:
            WriteText(element.texts[index], depth + 1);
            break;
        case XmlItemKind::Clear:
            WriteClear(element.clears[index], depth + 1);
            break;
        }
    }
    m_out = nullptr;
}

bool XmlWriter::WriteStartTag(const XmlNode& node, int depth) {
    const bool hasContent = node.HasContent();
    if (node.name.IsNull()) {
        return hasContent;
    }
    Indent(depth);
    std::string& out = *m_out;
    out.push_back('<');
    if (node.declaration) {
        out.push_back('?');
    }
    out.append(node.name.CStr(), node.name.Length());
    for (const XmlAttribute& attribute : node.attributes) {
        if (attribute.Name() == nullptr || attribute.Name()[0] == '\0') {
            continue;
        }
        out.push_back(' ');
        out.append(attribute.Name());
        if (attribute.Value() != nullptr) {
            out.append("=\"");
            const char* value = attribute.Value();
            XmlEntities::Escape(value, std::char_traits<char>::length(value), m_chars, out);
            out.push_back('"');
        }
    }
    if (node.declaration) {
        out.append("?>");
    } else if (hasContent) {
        out.push_back('>');
    } else {
        out.append("/>");
    }
    EndLine();
    return hasContent;
}

void XmlWriter::WriteEndTag(const XmlNode& node, int depth) {
    if (node.name.IsNull() || node.declaration) {
        return;
    }
    Indent(depth);
    m_out->append("</");
    m_out->append(node.name.CStr(), node.name.Length());
    m_out->push_back('>');
    EndLine();
}

void XmlWriter::WriteText(const XmlString& text, int depth) {
    if (text.IsEmpty()) {
        return;
    }
    Indent(depth);
    XmlEntities::Escape(text.CStr(), text.Length(), m_chars, *m_out);
    EndLine();
}

void XmlWriter::WriteClear(const XmlClear& clear, int depth) {
    Indent(depth);
    m_out->append(clear.Opening() != nullptr ? clear.Opening() : "");
    m_out->append(clear.Text() != nullptr ? clear.Text() : "");
    m_out->append(clear.Closing() != nullptr ? clear.Closing() : "");
    EndLine();
}

void XmlWriter::Indent(int depth) {
    if (m_format) {
        m_out->append(static_cast<size_t>(depth), '\t');
    }
}

void XmlWriter::EndLine() {
    if (m_format) {
        m_out->push_back('\n');
    }
}
