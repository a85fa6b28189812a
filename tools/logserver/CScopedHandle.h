// Owner of a kernel handle: closes it when destroyed.
#pragma once

#include <windows.h>

#include <utility>

class CScopedHandle {
public:
    CScopedHandle() = default;

    explicit CScopedHandle(HANDLE handle) : m_handle(handle) {}

    ~CScopedHandle() { Reset(); }

    CScopedHandle(CScopedHandle&& other) noexcept : m_handle(other.Release()) {}

    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }

    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    HANDLE Get() const { return m_handle; }

    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }

    // Gives up ownership without closing.
    HANDLE Release() { return std::exchange(m_handle, nullptr); }

    void Reset(HANDLE handle = nullptr) {
        if (IsValid()) {
            CloseHandle(m_handle);
        }
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};
