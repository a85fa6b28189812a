// Thrown when memory runs out.
#pragma once

#include "classlib/core/CException.h"

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)

public:
    CMemoryException() = default;
    BOOL GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

[[noreturn]] void AfxThrowMemoryException();
