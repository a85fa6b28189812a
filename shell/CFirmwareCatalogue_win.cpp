// Windows half of the firmware catalogue: replacing the file and the language's ISO name.
#include "shell/CFirmwareCatalogue.h"

#include <windows.h>

bool CFirmwareCatalogue::ReplaceCatalogueFile(LPCSTR from, LPCSTR to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

CString CFirmwareCatalogue::IsoLanguageName(DWORD languageId) {
    char name[16] = {};
    if (GetLocaleInfoA(static_cast<LCID>(languageId), LOCALE_SISO639LANGNAME, name, sizeof(name)) == 0) {
        return CString();
    }
    return CString(name);
}
