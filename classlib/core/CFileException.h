// A failed file operation: a cause code that the programs show to the user as
// "Error code", the operating system's error and the file's name.
#pragma once

#include "classlib/core/CException.h"
#include "classlib/core/CString.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)

public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCSTR fileName = nullptr);

    BOOL GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

    // The cause for a Win32 error code (GetLastError) and for a C library errno.
    static int OsErrorToException(LONG osError);
    static int ErrnoToException(int errnoValue);

    // Throw a new exception with the cause of the error; the error is kept in m_lOsError.
    [[noreturn]] static void ThrowOsError(LONG osError, LPCSTR fileName = nullptr);
    [[noreturn]] static void ThrowErrno(int errnoValue, LPCSTR fileName = nullptr);

    int m_cause;
    LONG m_lOsError;  // -1 when no system error is known
    CString m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, LPCSTR fileName = nullptr);
