// Owns a caught class-library exception and releases it exactly once:
//     catch (CException* caught) {
//         CExceptionGuard e(caught);
//         ... e->GetErrorMessage(...) ...
//     }   // Delete() runs here, also when the handler returns early or throws.
#pragma once

#include "classlib/core/CException.h"

class CExceptionGuard {
public:
    explicit CExceptionGuard(CException* exception) : m_exception(exception) {}

    ~CExceptionGuard() { Reset(); }

    CExceptionGuard(const CExceptionGuard&) = delete;
    CExceptionGuard& operator=(const CExceptionGuard&) = delete;

    CException* Get() const { return m_exception; }

    CException* operator->() const { return m_exception; }

    // Gives the exception up without releasing it, for example to throw it on.
    CException* Release() {
        CException* exception = m_exception;
        m_exception = nullptr;
        return exception;
    }

    void Reset() {
        if (m_exception != nullptr) {
            m_exception->Delete();
            m_exception = nullptr;
        }
    }

private:
    CException* m_exception;
};
