// Doubly linked list of the class library, and its named forms (CPtrList,
// CObList, CStringList). Positions stay valid until their element is removed.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/CollectionFault.h"
#include "classlib/core/Position.h"
#include "classlib/core/WinTypes.h"

#include <deque>

class CObject;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
public:
    // blockSize is accepted for compatibility; nodes come from a pool of the list.
    explicit CList(INT_PTR blockSize = 10) { (void)blockSize; }

    ~CList() = default;
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return m_count; }

    INT_PTR GetSize() const { return m_count; }

    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return NonEmpty(m_head)->data; }

    const TYPE& GetHead() const { return NonEmpty(m_head)->data; }

    TYPE& GetTail() { return NonEmpty(m_tail)->data; }

    const TYPE& GetTail() const { return NonEmpty(m_tail)->data; }

    TYPE RemoveHead() {
        Node* node = NonEmpty(m_head);
        TYPE data = node->data;
        FreeNode(node);
        return data;
    }

    TYPE RemoveTail() {
        Node* node = NonEmpty(m_tail);
        TYPE data = node->data;
        FreeNode(node);
        return data;
    }

    POSITION AddHead(ARG_TYPE element) { return ToPosition(NewNode(element, nullptr, m_head)); }

    POSITION AddTail(ARG_TYPE element) { return ToPosition(NewNode(element, m_tail, nullptr)); }

    // Adds copies of every element of the other list (which may be this one).
    void AddHead(const CList* other) {
        const INT_PTR count = other->m_count;
        Node* node = other->m_tail;
        for (INT_PTR i = 0; i < count; ++i, node = node->prev) {
            AddHead(node->data);
        }
    }

    void AddTail(const CList* other) {
        const INT_PTR count = other->m_count;
        Node* node = other->m_head;
        for (INT_PTR i = 0; i < count; ++i, node = node->next) {
            AddTail(node->data);
        }
    }

    void RemoveAll() {
        m_pool.clear();
        m_free = nullptr;
        m_head = nullptr;
        m_tail = nullptr;
        m_count = 0;
    }

    POSITION GetHeadPosition() const { return ToPosition(m_head); }

    POSITION GetTailPosition() const { return ToPosition(m_tail); }

    // Return the element at position and move position on (null past the end).
    TYPE& GetNext(POSITION& position) { return Step(position, &Node::next)->data; }

    const TYPE& GetNext(POSITION& position) const { return Step(position, &Node::next)->data; }

    TYPE& GetPrev(POSITION& position) { return Step(position, &Node::prev)->data; }

    const TYPE& GetPrev(POSITION& position) const { return Step(position, &Node::prev)->data; }

    TYPE& GetAt(POSITION position) { return Checked(position)->data; }

    const TYPE& GetAt(POSITION position) const { return Checked(position)->data; }

    void SetAt(POSITION position, ARG_TYPE element) { Checked(position)->data = element; }

    void RemoveAt(POSITION position) { FreeNode(Checked(position)); }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE element) {
        if (position == nullptr) {
            return AddHead(element);
        }
        Node* node = Checked(position);
        return ToPosition(NewNode(element, node->prev, node));
    }

    POSITION InsertAfter(POSITION position, ARG_TYPE element) {
        if (position == nullptr) {
            return AddTail(element);
        }
        Node* node = Checked(position);
        return ToPosition(NewNode(element, node, node->next));
    }

    // Searches from the element after startAfter (from the head when null); null when absent.
    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const {
        Node* node = startAfter == nullptr ? m_head : Checked(startAfter)->next;
        for (; node != nullptr; node = node->next) {
            if (node->data == value) {
                return ToPosition(node);
            }
        }
        return nullptr;
    }

    // Null when index is negative or not below the count.
    POSITION FindIndex(INT_PTR index) const {
        if (index < 0 || index >= m_count) {
            return nullptr;
        }
        Node* node = m_head;
        for (; index > 0; --index) {
            node = node->next;
        }
        return ToPosition(node);
    }

private:
    struct Node {
        Node* next = nullptr;
        Node* prev = nullptr;
        TYPE data{};
    };

    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }

    static Node* Checked(POSITION position) {
        if (position == nullptr) {
            CollectionFault("CList", "null position");
        }
        return reinterpret_cast<Node*>(position);
    }

    // The node at position; position moves on along link (next or prev).
    static Node* Step(POSITION& position, Node* Node::*link) {
        Node* node = Checked(position);
        position = ToPosition(node->*link);
        return node;
    }

    static Node* NonEmpty(Node* node) {
        if (node == nullptr) {
            CollectionFault("CList", "the list is empty");
        }
        return node;
    }

    Node* NewNode(ARG_TYPE element, Node* prev, Node* next) {
        Node* node = m_free;
        if (node != nullptr) {
            m_free = node->next;
        } else {
            m_pool.emplace_back();
            node = &m_pool.back();
        }
        node->data = element;
        node->prev = prev;
        node->next = next;
        (prev != nullptr ? prev->next : m_head) = node;
        (next != nullptr ? next->prev : m_tail) = node;
        ++m_count;
        return node;
    }

    void FreeNode(Node* node) {
        (node->prev != nullptr ? node->prev->next : m_head) = node->next;
        (node->next != nullptr ? node->next->prev : m_tail) = node->prev;
        node->data = TYPE{};  // releases what the element held
        node->prev = nullptr;
        node->next = m_free;
        m_free = node;
        --m_count;
    }

    std::deque<Node> m_pool;  // owns every node; deque keeps their addresses
    Node* m_free = nullptr;
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};

typedef CList<void*, void*> CPtrList;
typedef CList<CObject*, CObject*> CObList;
typedef CList<CString, LPCSTR> CStringList;
