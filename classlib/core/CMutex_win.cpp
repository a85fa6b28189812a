// Mutex on Windows: a kernel mutex object, named for the single-instance guard.
#include "classlib/core/CMutex.h"

#include <windows.h>

#include <system_error>

struct CMutex::Impl {
    HANDLE handle = nullptr;  // null when the name exists but may not be opened
    bool existedBefore = false;
};

CMutex::CMutex(BOOL initiallyOwn, LPCSTR name) : m_impl(std::make_unique<Impl>()) {
    m_impl->handle = CreateMutexA(nullptr, initiallyOwn, name);
    const DWORD error = GetLastError();
    if (m_impl->handle == nullptr && error != ERROR_ACCESS_DENIED) {
        throw std::system_error(static_cast<int>(error), std::system_category(), "CreateMutex");
    }
    m_impl->existedBefore = m_impl->handle == nullptr || error == ERROR_ALREADY_EXISTS;
}

CMutex::~CMutex() {
    if (m_impl->handle != nullptr) {
        CloseHandle(m_impl->handle);
    }
}

BOOL CMutex::Lock(DWORD timeoutMs) {
    if (m_impl->handle == nullptr) {
        return FALSE;
    }
    // An abandoned mutex (its owner ended without releasing it) is taken all the same.
    const DWORD result = WaitForSingleObject(m_impl->handle, timeoutMs);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED ? TRUE : FALSE;
}

BOOL CMutex::Unlock() {
    if (m_impl->handle == nullptr) {
        return FALSE;
    }
    return ReleaseMutex(m_impl->handle);
}

BOOL CMutex::ExistedBefore() const {
    return m_impl->existedBefore ? TRUE : FALSE;
}
