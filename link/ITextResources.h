// What the pages, the dialogs and the XML form need of the resource and language manager,
// all in the current language: the string table's texts, the language for number formats,
// the OBD text tables and the firmware history. The shell's manager implements it, so that
// the windows below the main dialog do not depend on the shell.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"
#include "link/IResourceManager.h"

class ITextResources : public IResourceManager {
public:
    using IResourceManager::GetString;
    // The text of a string-table id; "???" when the id has none.
    virtual void GetString(UINT id, CString& text) const = 0;

    virtual bool LookupDtcText(LPCSTR key, CString& text) const = 0;
    virtual bool LookupObdStandardText(LPCSTR key, CString& text) const = 0;
    virtual bool LookupObdPidText(LPCSTR key, CString& text) const = 0;

    // The history of one firmware version.
    virtual void GetVersionHistory(LPCSTR version, LPCSTR build, LPCSTR branch, CString& text) const = 0;
};

// A window's text of id; empty when the window was given no resource manager.
inline CString LoadText(const ITextResources* resources, UINT id) {
    CString text;
    if (resources != nullptr) {
        resources->GetString(id, text);
    }
    return text;
}
