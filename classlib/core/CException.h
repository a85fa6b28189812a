// Base of the class library's exceptions. They are thrown by pointer
// ("throw new CFileException(...)"), caught as CException* and released with
// Delete(), best through a CExceptionGuard so that every path releases once.
#pragma once

#include "classlib/core/CObject.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>

class CException : public CObject {
    DECLARE_DYNAMIC(CException)

public:
    // Shows a report to the user; returns the box's answer. The installed hook
    // decides how (a message box in the programs, stderr by default, a recorder
    // in tests).
    typedef int (*ReportHook)(LPCSTR text, UINT type);

    // Frees the exception when it was created with new; a no-op for one that lives
    // on the stack (the error record handed to CFile::Open).
    void Delete();

    // Copies the text of the error into buffer (at most maxChars bytes with the
    // terminating zero); FALSE when the exception has no text.
    virtual BOOL GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const;

    // Reports the error text; without one the string-table text messageId,
    // without that "No error message is available.".
    int ReportError(UINT type = 0, UINT messageId = 0) const;
    // Hands text to the installed hook, for failures that have no exception object
    // left to report (one already released, a thread that could not start).
    static int Report(LPCSTR text, UINT type = 0);
    static void SetReportHook(ReportHook hook);

    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

protected:
    CException();

    // Copies text into buffer as GetErrorMessage promises; TRUE when text is not empty.
    static BOOL CopyMessage(LPCSTR text, LPSTR buffer, UINT maxChars);

private:
    bool m_onHeap;
};
