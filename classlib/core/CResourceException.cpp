#include "classlib/core/CResourceException.h"

IMPLEMENT_DYNAMIC(CResourceException, CException)

BOOL CResourceException::GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext) const {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    return CopyMessage("A required resource was unavailable.", buffer, maxChars);
}

void AfxThrowResourceException() {
    throw new CResourceException;
}
