#include "manager/CSelectionHistory.h"

#include <algorithm>

void CSelectionHistory::Push(std::deque<Item>& list, Item item) {
    if (static_cast<int>(list.size()) > m_limit) {
        list.pop_front();
    }
    list.push_back(item);
}

CSelectionHistory::Item CSelectionHistory::Pop(std::deque<Item>& list) {
    if (list.empty()) {
        return nullptr;
    }
    Item item = list.back();
    list.pop_back();
    return item;
}

void CSelectionHistory::SetMaxHistory(int limit) {
    m_limit = limit < 0 ? 0 : limit;
    const std::size_t size = static_cast<std::size_t>(m_limit);
    if (m_back.size() > size) {
        m_back.resize(size);
    }
    if (m_forward.size() > size) {
        m_forward.resize(size);
    }
}

void CSelectionHistory::Forget(Item item) {
    m_back.erase(std::remove(m_back.begin(), m_back.end(), item), m_back.end());
    m_forward.erase(std::remove(m_forward.begin(), m_forward.end(), item), m_forward.end());
}

void CSelectionHistory::Clear() {
    m_back.clear();
    m_forward.clear();
}
