// The back and forward lists of a tree's selections. Items are opaque handles; a handle that
// goes away must be forgotten (Forget) so that going back never reaches a freed item.
#pragma once

#include <deque>

class CSelectionHistory {
public:
    typedef void* Item;

    // Records the item that was selected before a new selection. A list that already holds
    // more than the limit loses its oldest entry first.
    void PushBack(Item previous) { Push(m_back, previous); }

    void PushForward(Item previous) { Push(m_forward, previous); }

    // The newest entry of a list, taken off it; null when the list is empty.
    Item PopBack() { return Pop(m_back); }

    Item PopForward() { return Pop(m_forward); }

    bool CanGoBack() const { return !m_back.empty(); }

    bool CanGoForward() const { return !m_forward.empty(); }

    int GetBackCount() const { return static_cast<int>(m_back.size()); }

    int GetForwardCount() const { return static_cast<int>(m_forward.size()); }

    int GetMaxHistory() const { return m_limit; }

    // Cuts both lists to the limit, dropping their newest entries.
    void SetMaxHistory(int limit);
    // Removes every entry of item from both lists.
    void Forget(Item item);
    void Clear();

private:
    void Push(std::deque<Item>& list, Item item);
    static Item Pop(std::deque<Item>& list);

    std::deque<Item> m_back;  // oldest first
    std::deque<Item> m_forward;
    int m_limit = 20;
};
