#include "forms/XmlNode.h"

XmlNode::XmlNode(XmlString nodeName, bool isDeclaration)
    : name(std::move(nodeName)), declaration(isDeclaration) {}

XmlNode::~XmlNode() {
    ReleaseChildren();
}

void XmlNode::ReleaseChildren() {
    std::vector<std::shared_ptr<XmlNode>> pending;
    pending.swap(children);
    for (const std::shared_ptr<XmlNode>& child : pending) {
        child->parent = nullptr;
    }
    while (!pending.empty()) {
        std::shared_ptr<XmlNode> child = std::move(pending.back());
        pending.pop_back();
        if (child.use_count() != 1) {
            continue;
        }
        // This is the last reference: take the grandchildren first, so that destroying the
        // child does not descend.
        for (std::shared_ptr<XmlNode>& grandchild : child->children) {
            grandchild->parent = nullptr;
            pending.push_back(std::move(grandchild));
        }
        child->children.clear();
    }
}

size_t XmlNode::CountOf(XmlItemKind kind) const {
    switch (kind) {
    case XmlItemKind::Child:
        return children.size();
    case XmlItemKind::Text:
        return texts.size();
    case XmlItemKind::Clear:
        return clears.size();
    }
    return 0;
}

size_t XmlNode::ReserveSlot(XmlItemKind kind, int position) {
    const size_t count = CountOf(kind);
    if (position < 0 || static_cast<size_t>(position) >= order.size()) {
        order.push_back(OrderEntry(count, kind));
        return count;
    }
    size_t index = count;
    for (size_t i = static_cast<size_t>(position); i < order.size(); ++i) {
        if (KindOf(order[i]) != kind) {
            continue;
        }
        if (index == count) {
            index = IndexOf(order[i]);
        }
        order[i] += kKindBits;
    }
    order.insert(order.begin() + position, OrderEntry(index, kind));
    return index;
}

void XmlNode::ReleaseSlot(XmlItemKind kind, size_t index) {
    const int entry = OrderEntry(index, kind);
    size_t i = 0;
    while (i < order.size() && order[i] != entry) {
        ++i;
    }
    if (i < order.size()) {
        order.erase(order.begin() + static_cast<std::ptrdiff_t>(i));
    }
    for (; i < order.size(); ++i) {
        if (KindOf(order[i]) == kind && IndexOf(order[i]) > index) {
            order[i] -= kKindBits;
        }
    }
}

int XmlNode::PositionOf(XmlItemKind kind, size_t index) const {
    const int entry = OrderEntry(index, kind);
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == entry) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int XmlNode::ChildIndexOf(const XmlNode* child) const {
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i].get() == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void XmlNode::RemoveChild(size_t index) {
    std::shared_ptr<XmlNode> child = std::move(children[index]);
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(index));
    ReleaseSlot(XmlItemKind::Child, index);
    child->parent = nullptr;
}

bool XmlNode::IsSelfOrAncestor(const XmlNode* node) const {
    for (const XmlNode* p = this; p != nullptr; p = p->parent) {
        if (p == node) {
            return true;
        }
    }
    return false;
}

void XmlNode::ClearSubtree() {
    std::vector<XmlNode*> pending{this};
    std::vector<std::shared_ptr<XmlNode>> released;
    while (!pending.empty()) {
        XmlNode* node = pending.back();
        pending.pop_back();
        for (std::shared_ptr<XmlNode>& child : node->children) {
            pending.push_back(child.get());
            released.push_back(std::move(child));
        }
        node->children.clear();
        node->name.Reset();
        node->texts.clear();
        node->clears.clear();
        node->attributes.clear();
        node->order.clear();
    }
    for (const std::shared_ptr<XmlNode>& node : released) {
        node->parent = nullptr;
    }
}
