// Thrown when a window class or another resource cannot be had.
#pragma once

#include "classlib/core/CException.h"

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)

public:
    CResourceException() = default;
    BOOL GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

[[noreturn]] void AfxThrowResourceException();
