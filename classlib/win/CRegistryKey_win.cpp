#include "classlib/win/CRegistryKey.h"

#include <vector>

CRegistryKey::~CRegistryKey() {
    Close();
}

void CRegistryKey::Close() {
    if (m_key != nullptr) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

LONG CRegistryKey::Create(HKEY root, LPCSTR path, REGSAM access) {
    Close();
    HKEY key = nullptr;
    const LONG result =
        RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        m_key = key;
    }
    return result;
}

LONG CRegistryKey::Open(HKEY root, LPCSTR path, REGSAM access) {
    Close();
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(root, path, 0, access, &key);
    if (result == ERROR_SUCCESS) {
        m_key = key;
    }
    return result;
}

// The size first, then the text; one more byte keeps a terminator after a value stored
// without its own.
LONG CRegistryKey::QueryText(LPCSTR name, CString& text) const {
    DWORD type = 0;
    DWORD bytes = 0;
    LONG result = RegQueryValueExA(m_key, name, nullptr, &type, nullptr, &bytes);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    if (type != REG_SZ) {
        return ERROR_INVALID_DATA;
    }
    std::vector<char> buffer(bytes + 1, '\0');
    result = RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    text = buffer.data();
    return ERROR_SUCCESS;
}

LONG CRegistryKey::SetText(LPCSTR name, LPCSTR text) {
    const DWORD bytes = static_cast<DWORD>(lstrlenA(text) + 1);
    return RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}
