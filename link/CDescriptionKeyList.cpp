#include "link/CDescriptionKeyList.h"

#include <algorithm>
#include <utility>
#include <vector>

CDescriptionKeyList::CDescriptionKeyList(Order order, KeyFilter listed) : m_order(order), m_listed(listed) {}

int CDescriptionKeyList::RememberedIndex(Mode mode, int selected) const {
    if (selected < 0 || selected >= GetCount() || mode == kSelectFirst) {
        return -1;
    }
    if (mode == kKeepSelected) {
        return selected;
    }
    const int neighbour = selected > 0 ? selected - 1 : 1;
    return neighbour < GetCount() ? neighbour : -1;
}

int CDescriptionKeyList::IndexOf(const CString& key) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_keys[i] == key) {
            return i;
        }
    }
    return -1;
}

void CDescriptionKeyList::Refresh(const CMapStringToString& descriptions, Mode mode, int selected) {
    const int rememberedIndex = RememberedIndex(mode, selected);
    const CString remembered = rememberedIndex >= 0 ? m_keys[rememberedIndex] : CString();
    typedef std::pair<CString, CString> Entry;
    std::vector<Entry> entries;
    CString key;
    CString text;
    for (POSITION position = descriptions.GetStartPosition(); position != nullptr;) {
        descriptions.GetNextAssoc(position, key, text);
        if (m_listed == nullptr || m_listed(key)) {
            entries.emplace_back(key, text);
        }
    }
    if (m_order == kAscending) {
        // The map's own order is its hashing; its keys are unique.
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.first < b.first; });
    }
    m_keys.RemoveAll();
    m_texts.RemoveAll();
    for (const auto& entry : entries) {
        m_keys.Add(entry.first);
        m_texts.Add(entry.second);
    }
    if (GetCount() == 0) {
        m_selection = -1;
        return;
    }
    const int found = rememberedIndex >= 0 ? IndexOf(remembered) : -1;
    m_selection = found < 0 ? 0 : found;
}

void CDescriptionKeyList::SetText(int index, LPCSTR text) {
    if (index >= 0 && index < GetCount()) {
        m_texts[index] = text;
    }
}

CString CDescriptionKeyList::GetSummary(LPCSTR emptyText) const {
    if (GetCount() == 0) {
        return CString(emptyText);
    }
    CString summary("{");
    for (int i = 0; i < GetCount(); ++i) {
        if (i > 0) {
            summary += ';';
        }
        summary += m_keys[i];
    }
    summary += '}';
    return summary;
}
