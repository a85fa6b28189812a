#include "manager/CDescriptionKeyList.h"

namespace {

const char* const kListedKeys[] = {"de", "hu", "en"};

}  // namespace

bool CDescriptionKeyList::IsListedKey(LPCSTR key) {
    const CString text(key);
    for (const char* listed : kListedKeys) {
        if (text.CompareNoCase(listed) == 0) {
            return true;
        }
    }
    return false;
}

CString CDescriptionKeyList::RememberedKey(Mode mode, int chosen) const {
    if (chosen < 0 || chosen >= GetCount()) {
        return CString();
    }
    if (mode == kKeepChoice) {
        return m_keys[chosen];
    }
    if (mode == kAfterDelete) {
        const int neighbour = chosen == 0 ? 1 : chosen - 1;
        return neighbour < GetCount() ? m_keys[neighbour] : CString();
    }
    return CString();
}

int CDescriptionKeyList::IndexOf(const CString& key) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_keys[i] == key) {
            return i;
        }
    }
    return -1;
}

void CDescriptionKeyList::Fill(const CMapStringToString& descriptions, Mode mode, int chosen) {
    const CString remembered = RememberedKey(mode, chosen);
    m_keys.RemoveAll();
    m_texts.RemoveAll();
    POSITION position = descriptions.GetStartPosition();
    while (position != nullptr) {
        CString key;
        CString text;
        descriptions.GetNextAssoc(position, key, text);
        if (IsListedKey(key)) {
            m_keys.Add(key);
            m_texts.Add(text);
        }
    }
    if (GetCount() == 0) {
        m_selection = -1;
        return;
    }
    const int found = remembered.IsEmpty() ? -1 : IndexOf(remembered);
    m_selection = found < 0 ? 0 : found;
}

CString CDescriptionKeyList::GetSummary() const {
    if (GetCount() == 0) {
        return CString("*** Leer ***");
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
