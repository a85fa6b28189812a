// The language keys the viewer lists for a firmware file: only "de", "hu" and "en" are shown
// (other keys stay in the file), with the key to select after a refill and the summary text.
// Portable, so the rules are tested without a window.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CMap.h"
#include "classlib/core/CString.h"

class CDescriptionKeyList {
public:
    // How a refill chooses the entry to select: none remembered (the first entry), the key
    // chosen now, or after a deletion the entry before the chosen one.
    enum Mode {
        kSelectFirst = 0,
        kKeepChoice = 1,
        kAfterDelete = 2
    };

    // Replaces the entries with the listed keys of descriptions, in the map's order.
    // chosen is the index selected before the refill (-1 for none).
    void Fill(const CMapStringToString& descriptions, Mode mode, int chosen);

    int GetCount() const { return static_cast<int>(m_keys.GetSize()); }

    const CString& GetKey(int index) const { return m_keys[index]; }

    const CString& GetText(int index) const { return m_texts[index]; }

    void SetText(int index, LPCSTR text) { m_texts[index] = text; }

    // The entry to select after the last Fill, or -1 when the list is empty.
    int GetSelection() const { return m_selection; }

    // "{de;en}" for the listed keys, "*** Leer ***" for none.
    CString GetSummary() const;

    static bool IsListedKey(LPCSTR key);

private:
    CString RememberedKey(Mode mode, int chosen) const;
    int IndexOf(const CString& key) const;

    CStringArray m_keys;
    CStringArray m_texts;
    int m_selection = -1;
};
