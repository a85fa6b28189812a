// Thrown by an operation an object does not support (Open on a memory file).
#pragma once

#include "classlib/core/CException.h"

class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)

public:
    CNotSupportedException() = default;
    BOOL GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

[[noreturn]] void AfxThrowNotSupportedException();
