// Where a language of that name stands in the resource manager's list, as the Language
// dialog shows it.
#pragma once

#include "shell/CResourceManager.h"

// -1 when no language of that name lies beside the program.
inline int LanguageIndex(CResourceManager& resources, const char* name) {
    CStringArray names;
    const int count = resources.GetLanguageList(names, nullptr);
    for (int i = 0; i < count; ++i) {
        if (names[i] == name) {
            return i;
        }
    }
    return -1;
}
