// The description keys of a file as a key box lists them: the keys with their texts, the entry
// to select after a refill and the summary beside the box. Which keys are listed, and whether in
// the descriptions' own order or ascending, is the owner's choice. Portable, so the rules are
// tested without a window.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CMap.h"
#include "classlib/core/CString.h"

class CDescriptionKeyList {
public:
    // How a refill chooses the entry to select: none remembered (the first entry), the key
    // selected now, or after a deletion the entry before the selected one (the second when the
    // first was selected). A remembered key that is gone selects the first entry.
    enum Mode {
        kSelectFirst = 0,
        kKeepSelected = 1,
        kSelectNeighbour = 2
    };

    enum Order {
        kMapOrder,
        kAscending
    };

    // Whether a key is listed; null lists every key.
    typedef bool (*KeyFilter)(const CString& key);

    explicit CDescriptionKeyList(Order order, KeyFilter listed = nullptr);

    // Replaces the entries with the listed keys of descriptions. selected is the index selected
    // before the refill (-1 for none).
    void Refresh(const CMapStringToString& descriptions, Mode mode, int selected);

    int GetCount() const { return static_cast<int>(m_keys.GetSize()); }

    const CString& GetKey(int index) const { return m_keys[index]; }

    const CString& GetText(int index) const { return m_texts[index]; }

    // Keeps the text typed for the entry; an index outside the list changes nothing.
    void SetText(int index, LPCSTR text);

    // The entry to select after the last refill, or -1 when the list is empty.
    int GetSelection() const { return m_selection; }

    // "{de;en}": the keys in list order; emptyText when there are none.
    CString GetSummary(LPCSTR emptyText) const;

private:
    int RememberedIndex(Mode mode, int selected) const;
    int IndexOf(const CString& key) const;

    Order m_order;
    KeyFilter m_listed;
    CStringArray m_keys;
    CStringArray m_texts;
    int m_selection = -1;
};
