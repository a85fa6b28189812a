#include "classlib/core/CNotSupportedException.h"

IMPLEMENT_DYNAMIC(CNotSupportedException, CException)

BOOL CNotSupportedException::GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext) const {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    return CopyMessage("An unsupported operation was attempted.", buffer, maxChars);
}

void AfxThrowNotSupportedException() {
    throw new CNotSupportedException;
}
