// An open registry key, closed with its owner.
#pragma once

#include "classlib/core/CString.h"

#include <windows.h>

class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey();

    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Open the key below root, creating it (and the keys on its path) where it is missing
    // or only when it exists. A key already open is closed first. Return ERROR_SUCCESS or
    // the system's error code.
    LONG Create(HKEY root, LPCSTR path, REGSAM access);
    LONG Open(HKEY root, LPCSTR path, REGSAM access);

    // Reads a text (REG_SZ) value; any other type is ERROR_INVALID_DATA.
    LONG QueryText(LPCSTR name, CString& text) const;
    // Writes text as a REG_SZ value.
    LONG SetText(LPCSTR name, LPCSTR text);

    void Close();

    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};
