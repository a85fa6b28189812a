// Events on Windows: kernel event objects.
#include "classlib/core/CEvent.h"

#include <windows.h>

#include <system_error>
#include <vector>

struct CEvent::Impl {
    HANDLE handle = nullptr;
};

CEvent::CEvent(BOOL initiallySet, BOOL manualReset) : m_impl(std::make_unique<Impl>()) {
    m_impl->handle = CreateEventA(nullptr, manualReset, initiallySet, nullptr);
    if (m_impl->handle == nullptr) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateEvent");
    }
}

CEvent::~CEvent() {
    CloseHandle(m_impl->handle);
}

BOOL CEvent::SetEvent() {
    return ::SetEvent(m_impl->handle);
}

BOOL CEvent::ResetEvent() {
    return ::ResetEvent(m_impl->handle);
}

BOOL CEvent::Lock(DWORD timeoutMs) {
    return WaitForSingleObject(m_impl->handle, timeoutMs) == WAIT_OBJECT_0 ? TRUE : FALSE;
}

int CEvent::WaitAny(std::initializer_list<CEvent*> events, DWORD timeoutMs) {
    if (events.size() == 0 || events.size() > MAXIMUM_WAIT_OBJECTS) {
        return kWaitFailed;
    }
    std::vector<HANDLE> handles;
    for (CEvent* event : events) {
        if (event == nullptr) {
            return kWaitFailed;
        }
        handles.push_back(event->m_impl->handle);
    }
    // WaitForMultipleObjects reports the lowest index among the set events.
    const DWORD result =
        WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeoutMs);
    if (result == WAIT_TIMEOUT) {
        return kWaitTimedOut;
    }
    if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handles.size()) {
        return static_cast<int>(result - WAIT_OBJECT_0);
    }
    return kWaitFailed;
}
