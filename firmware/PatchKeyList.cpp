#include "firmware/PatchKeyList.h"

#include <algorithm>
#include <map>

int PatchKeyList::RememberedIndex(Mode mode, int selected) const {
    const int count = static_cast<int>(m_keys.size());
    if (selected < 0 || selected >= count || mode == kSelectFirst) {
        return -1;
    }
    if (mode == kKeepSelected) {
        return selected;
    }
    const int neighbour = selected > 0 ? selected - 1 : 1;
    return neighbour < count ? neighbour : -1;
}

void PatchKeyList::Refresh(const CMapStringToString& descriptions, Mode mode, int selected) {
    const int rememberedIndex = RememberedIndex(mode, selected);
    const std::string remembered = rememberedIndex >= 0 ? m_keys[rememberedIndex] : std::string();
    // The map's own order is its hashing; the combo shows the keys sorted.
    std::map<std::string, std::string> sorted;
    CString key;
    CString text;
    for (POSITION position = descriptions.GetStartPosition(); position != nullptr;) {
        descriptions.GetNextAssoc(position, key, text);
        sorted[static_cast<LPCSTR>(key)] = static_cast<LPCSTR>(text);
    }
    m_keys.clear();
    m_texts.clear();
    for (const auto& entry : sorted) {
        m_keys.push_back(entry.first);
        m_texts.push_back(entry.second);
    }
    const auto found = std::find(m_keys.begin(), m_keys.end(), remembered);
    if (m_keys.empty()) {
        m_selected = -1;
    } else if (rememberedIndex >= 0 && found != m_keys.end()) {
        m_selected = static_cast<int>(found - m_keys.begin());
    } else {
        m_selected = 0;
    }
}

void PatchKeyList::SetText(int index, const std::string& text) {
    if (index >= 0 && index < static_cast<int>(m_texts.size())) {
        m_texts[index] = text;
    }
}

std::string PatchKeyList::ListText(const std::string& emptyText) const {
    if (m_keys.empty()) {
        return emptyText;
    }
    std::string text = "{";
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        text += (i == 0 ? "" : ";") + m_keys[i];
    }
    return text + "}";
}
