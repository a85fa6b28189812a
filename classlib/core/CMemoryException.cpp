#include "classlib/core/CMemoryException.h"

IMPLEMENT_DYNAMIC(CMemoryException, CException)

BOOL CMemoryException::GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext) const {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    return CopyMessage("Out of memory.", buffer, maxChars);
}

void AfxThrowMemoryException() {
    throw new CMemoryException;
}
