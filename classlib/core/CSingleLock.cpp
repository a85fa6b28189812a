// Lock holder over any synchronisation object.
#include "classlib/core/CSingleLock.h"

CSingleLock::CSingleLock(CSyncObject* object, BOOL initialLock) : m_object(object) {
    if (initialLock) {
        Lock();
    }
}

CSingleLock::~CSingleLock() {
    // Nothing can report a failed release from a destructor; Unlock fails only when
    // the object was released behind the holder's back, which leaves nothing to undo.
    Unlock();
}

BOOL CSingleLock::Lock(DWORD timeoutMs) {
    if (m_locked) {
        return TRUE;
    }
    if (m_object == nullptr) {
        return FALSE;
    }
    m_locked = m_object->Lock(timeoutMs);
    return m_locked;
}

BOOL CSingleLock::Unlock() {
    if (!m_locked) {
        return TRUE;
    }
    m_locked = FALSE;
    return m_object->Unlock();
}
