// Locks a movable global memory block for one scope, so that it is unlocked on every way
// out, also when copying into or out of it throws.
#pragma once

#include <windows.h>

class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL block) : m_block(block), m_data(static_cast<BYTE*>(GlobalLock(block))) {}

    ~CGlobalLock() {
        if (m_data != nullptr) {
            GlobalUnlock(m_block);
        }
    }

    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;

    // The block's bytes; null when it cannot be locked.
    BYTE* Data() const { return m_data; }

private:
    HGLOBAL m_block;
    BYTE* m_data;
};
