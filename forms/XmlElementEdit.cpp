// XmlElement's editing: adding, updating and deleting children, attributes, texts and clear
// sections, each keeping the node's document order.
#include "forms/XmlElement.h"
#include "forms/XmlNode.h"

#include <cstddef>
#include <memory>
#include <utility>

XmlElement XmlElement::AddChild(const char* name, bool declaration, int position) {
    return AddChild(XmlString(name), declaration, position);
}

XmlElement XmlElement::AddChild(XmlString&& name, bool declaration, int position) {
    if (IsEmpty()) {
        return XmlElement();
    }
    return AddChild(XmlElement(std::make_shared<XmlNode>(std::move(name), declaration)), position);
}

XmlElement XmlElement::AddChild(const XmlElement& element, int position) {
    if (IsEmpty() || element.IsEmpty() || m_node->IsSelfOrAncestor(element.m_node.get())) {
        return XmlElement();
    }
    std::shared_ptr<XmlNode> child = element.m_node;
    if (child->parent != nullptr) {
        XmlNode& former = *child->parent;
        former.RemoveChild(static_cast<size_t>(former.ChildIndexOf(child.get())));
    }
    const size_t index = m_node->ReserveSlot(XmlItemKind::Child, position);
    child->parent = m_node.get();
    m_node->children.insert(m_node->children.begin() + static_cast<std::ptrdiff_t>(index), child);
    return element;
}

const XmlAttribute* XmlElement::AddAttribute(const char* name, const char* value) {
    return AddAttribute(XmlString(name != nullptr ? name : ""), XmlString(value));
}

const XmlAttribute* XmlElement::AddAttribute(XmlString&& name, XmlString&& value) {
    if (IsEmpty()) {
        return nullptr;
    }
    m_node->attributes.emplace_back(name.IsNull() ? XmlString("") : std::move(name), std::move(value));
    return &m_node->attributes.back();
}

const char* XmlElement::AddText(const char* text, int position) {
    return AddText(XmlString(text != nullptr ? text : ""), position);
}

const char* XmlElement::AddText(XmlString&& text, int position) {
    if (IsEmpty()) {
        return nullptr;
    }
    return InsertText(text.IsNull() ? XmlString("") : std::move(text), position);
}

const XmlClear* XmlElement::AddClear(const char* text,
                                     const char* opening,
                                     const char* closing,
                                     int position) {
    if (IsEmpty()) {
        return nullptr;
    }
    return InsertClear(XmlClear(XmlString(text != nullptr ? text : ""), opening, closing), position);
}

void XmlElement::SetName(const char* name) {
    if (!IsEmpty()) {
        m_node->name = XmlString(name);
    }
}

const char* XmlElement::InsertText(XmlString&& text, int position) {
    const size_t index = m_node->ReserveSlot(XmlItemKind::Text, position);
    std::vector<XmlString>& texts = m_node->texts;
    return texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(index), std::move(text))->CStr();
}

const XmlClear* XmlElement::InsertClear(XmlClear&& clear, int position) {
    const size_t index = m_node->ReserveSlot(XmlItemKind::Clear, position);
    std::vector<XmlClear>& clears = m_node->clears;
    return &*clears.insert(clears.begin() + static_cast<std::ptrdiff_t>(index), std::move(clear));
}

const XmlAttribute* XmlElement::UpdateAttribute(const char* value, const char* newName, int index) {
    if (IsEmpty() || index < 0) {
        return nullptr;
    }
    if (static_cast<size_t>(index) >= m_node->attributes.size()) {
        return newName != nullptr ? AddAttribute(newName, value) : nullptr;
    }
    XmlAttribute& attribute = m_node->attributes[static_cast<size_t>(index)];
    // Both texts are copied before anything changes: they may point into this attribute.
    XmlString copiedValue(value);
    if (newName != nullptr) {
        attribute.SetName(XmlString(newName));
    }
    attribute.SetValue(std::move(copiedValue));
    return &attribute;
}

const XmlAttribute* XmlElement::UpdateAttribute(const char* value, const char* newName, const char* oldName) {
    const int index = FindAttribute(oldName);
    if (index < 0) {
        const char* name = newName != nullptr ? newName : oldName;
        return name != nullptr ? AddAttribute(name, value) : nullptr;
    }
    return UpdateAttribute(value, newName, index);
}

const XmlAttribute* XmlElement::UpdateAttribute(const char* value,
                                                const char* newName,
                                                const XmlAttribute* attribute) {
    const int index = IndexOfAttribute(attribute);
    if (index < 0) {
        return newName != nullptr ? AddAttribute(newName, value) : nullptr;
    }
    return UpdateAttribute(value, newName, index);
}

const char* XmlElement::UpdateText(const char* text, int index) {
    if (IsEmpty()) {
        return nullptr;
    }
    XmlString copied(text != nullptr ? text : "");
    if (!XmlNode::InRange(index, m_node->texts.size())) {
        return InsertText(std::move(copied), -1);
    }
    XmlString& target = m_node->texts[static_cast<size_t>(index)];
    target = std::move(copied);
    return target.CStr();
}

const char* XmlElement::UpdateText(const char* text, const char* oldText) {
    return UpdateText(text, FindText(oldText));
}

const XmlClear* XmlElement::UpdateClear(const char* text, int index) {
    if (IsEmpty()) {
        return nullptr;
    }
    XmlString copied(text != nullptr ? text : "");
    if (!XmlNode::InRange(index, m_node->clears.size())) {
        return InsertClear(XmlClear(std::move(copied), nullptr, nullptr), -1);
    }
    XmlClear& target = m_node->clears[static_cast<size_t>(index)];
    target.SetText(std::move(copied));
    return &target;
}

const XmlClear* XmlElement::UpdateClear(const char* text, const char* oldText) {
    return UpdateClear(text, FindClear(oldText));
}

const XmlClear* XmlElement::UpdateClear(const char* text, const XmlClear* clear) {
    return UpdateClear(text, IndexOfClear(clear));
}

bool XmlElement::DeleteAttribute(int index) {
    if (IsEmpty() || !XmlNode::InRange(index, m_node->attributes.size())) {
        return false;
    }
    m_node->attributes.erase(m_node->attributes.begin() + index);
    return true;
}

bool XmlElement::DeleteAttribute(const char* name) {
    return DeleteAttribute(FindAttribute(name));
}

bool XmlElement::DeleteAttribute(const XmlAttribute* attribute) {
    return DeleteAttribute(IndexOfAttribute(attribute));
}

bool XmlElement::DeleteText(int index) {
    if (IsEmpty() || !XmlNode::InRange(index, m_node->texts.size())) {
        return false;
    }
    m_node->texts.erase(m_node->texts.begin() + index);
    m_node->ReleaseSlot(XmlItemKind::Text, static_cast<size_t>(index));
    return true;
}

bool XmlElement::DeleteText(const char* text) {
    return DeleteText(FindText(text));
}

bool XmlElement::DeleteClear(int index) {
    if (IsEmpty() || !XmlNode::InRange(index, m_node->clears.size())) {
        return false;
    }
    m_node->clears.erase(m_node->clears.begin() + index);
    m_node->ReleaseSlot(XmlItemKind::Clear, static_cast<size_t>(index));
    return true;
}

bool XmlElement::DeleteClear(const char* text) {
    return DeleteClear(FindClear(text));
}

bool XmlElement::DeleteClear(const XmlClear* clear) {
    return DeleteClear(IndexOfClear(clear));
}

void XmlElement::DeleteNodeContent() {
    if (IsEmpty()) {
        return;
    }
    // This handle keeps the node alive while it leaves its parent.
    if (m_node->parent != nullptr) {
        XmlNode& parent = *m_node->parent;
        parent.RemoveChild(static_cast<size_t>(parent.ChildIndexOf(m_node.get())));
    }
    m_node->ClearSubtree();
}
