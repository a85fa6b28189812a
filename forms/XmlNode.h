#pragma once
// The record behind an XmlElement handle. Handles and the parent's child array share it
// through reference counts; the parent pointer is not counted. The order array keeps the
// document order of children, texts and clear sections as (index in its own array * 4) + kind.

#include "forms/XmlAttribute.h"
#include "forms/XmlClear.h"
#include "forms/XmlString.h"

#include <cstdint>
#include <memory>
#include <vector>

enum class XmlItemKind : int {
    Child = 0,
    Text = 2,
    Clear = 3,
};

struct XmlNode : std::enable_shared_from_this<XmlNode> {
    XmlNode(XmlString nodeName, bool isDeclaration);
    // Releases the subtree without recursion, so that deep trees cannot overflow the stack.
    // Children that other handles still hold survive as top elements.
    ~XmlNode();
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    static constexpr int kKindBits = 4;

    static int OrderEntry(size_t index, XmlItemKind kind) {
        return static_cast<int>(index) * kKindBits + static_cast<int>(kind);
    }

    static XmlItemKind KindOf(int entry) { return static_cast<XmlItemKind>(entry % kKindBits); }

    static size_t IndexOf(int entry) { return static_cast<size_t>(entry / kKindBits); }

    // Whether index names an item of an array of count items.
    static bool InRange(int index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

    size_t CountOf(XmlItemKind kind) const;

    // Opens an order slot for a new item of the kind at the position (-1 or past the end: at
    // the end) and returns the index in the kind's own array where the caller must insert it.
    size_t ReserveSlot(XmlItemKind kind, int position);

    // Removes the order entry of an item and renumbers the later items of its kind; the caller
    // removes the item from its own array.
    void ReleaseSlot(XmlItemKind kind, size_t index);

    // Index of the item in the order array, -1 when there is none.
    int PositionOf(XmlItemKind kind, size_t index) const;

    // Index of a child in the child array, -1 when it is not a child of this node.
    int ChildIndexOf(const XmlNode* child) const;

    // Takes a child out of this node; it becomes a top element.
    void RemoveChild(size_t index);

    // Whether the node is this one or one of its ancestors.
    bool IsSelfOrAncestor(const XmlNode* node) const;

    bool HasContent() const { return !children.empty() || !texts.empty() || !clears.empty(); }

    // Frees the name and the whole content of this node and of every descendant now.
    void ClearSubtree();

    XmlString name;  // null for the nameless top node of a parse
    bool declaration = false;
    XmlNode* parent = nullptr;  // not owned
    std::vector<std::shared_ptr<XmlNode>> children;
    std::vector<XmlString> texts;
    std::vector<XmlClear> clears;
    std::vector<XmlAttribute> attributes;
    std::vector<int32_t> order;

private:
    void ReleaseChildren();
};
