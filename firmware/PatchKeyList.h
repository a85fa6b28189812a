// The description keys of a patch as the patch editor's key combo shows them: the keys in
// ascending order with their texts, the key selected, and the list text beside the combo.
// Portable, so that the page's rules are tested without windows.
#pragma once

#include "classlib/core/CMap.h"

#include <string>
#include <vector>

class PatchKeyList {
public:
    // Which key to select again after a refresh.
    enum Mode {
        kSelectFirst = 0,     // the first key
        kKeepSelected = 1,    // the key selected now
        kSelectNeighbour = 2  // the key before the selected one, or the second when the first was
    };

    // Takes the keys and texts of `descriptions`; `selected` is the index selected before (-1
    // for none). A remembered key that is gone selects the first key.
    void Refresh(const CMapStringToString& descriptions, Mode mode, int selected);

    const std::vector<std::string>& Keys() const { return m_keys; }

    const std::vector<std::string>& Texts() const { return m_texts; }

    // The index of the key to select, -1 when there are no keys.
    int Selected() const { return m_selected; }

    // Keeps the text typed for the key at that index.
    void SetText(int index, const std::string& text);

    // "{de;en}": every key in order; `emptyText` when there are none.
    std::string ListText(const std::string& emptyText) const;

private:
    // The index in the keys before the refresh of the key to select again, or -1.
    int RememberedIndex(Mode mode, int selected) const;

    std::vector<std::string> m_keys;
    std::vector<std::string> m_texts;
    int m_selected = -1;
};
