// Descriptor of one element of the unit's data. For now it holds the element's lock,
// which a reader or writer takes while it copies the element's bytes and the
// communicator's worker holds for a whole exchange about the element.
#pragma once

#include "link/CRecoverableLock.h"

class CDataDescriptor {
public:
    CDataDescriptor() = default;
    CDataDescriptor(const CDataDescriptor&) = delete;
    CDataDescriptor& operator=(const CDataDescriptor&) = delete;

    CRecoverableLock& GetLock() { return m_lock; }

private:
    CRecoverableLock m_lock;
};
