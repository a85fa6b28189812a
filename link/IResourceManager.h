// What the data handler needs of the resource and language manager: the texts of its
// messages in the current language, and the firmware catalogue that collects the
// descriptions of zipped update files. The shell's manager implements it.
#pragma once

#include "classlib/core/CMap.h"
#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

class IResourceManager {
public:
    virtual ~IResourceManager() = default;
    // The text of a string-table id; empty when the id has none.
    virtual CString GetString(UINT id) = 0;
    // The current language's locale id, for reading typed numbers; the user's by default.
    virtual DWORD GetLanguageId() const { return 0x0400; }
    // Adds the per-language descriptions of one firmware build to the catalogue.
    virtual void AddFirmwareDescriptions(int major,
                                         int minor,
                                         int build,
                                         int branch,
                                         const CMapStringToString& descriptions) = 0;
};
