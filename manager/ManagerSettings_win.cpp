#include "manager/ManagerSettings.h"

#include "classlib/win/CRegistryKey.h"

namespace ManagerSettings {

CString KeyPath(int major, int minor) {
    CString path;
    path.Format("%s\\v%d.%02d\\%s", "Software\\ZYLMOR\\ZFx Viewer", major, minor, "Settings");
    return path;
}

namespace {

bool ReadFrom(HKEY root, const CString& keyPath, LPCSTR name, CString& text) {
    CRegistryKey key;
    if (key.Open(root, keyPath, KEY_READ) != ERROR_SUCCESS) {
        return false;
    }
    return key.QueryText(name, text) == ERROR_SUCCESS;
}

}  // namespace

bool ReadSetting(const CString& keyPath, LPCSTR name, CString& text) {
    return ReadFrom(HKEY_CURRENT_USER, keyPath, name, text) ||
           ReadFrom(HKEY_LOCAL_MACHINE, keyPath, name, text);
}

bool WriteSetting(const CString& keyPath, LPCSTR name, LPCSTR text) {
    CRegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, keyPath, KEY_WRITE) != ERROR_SUCCESS) {
        return false;
    }
    return key.SetText(name, text) == ERROR_SUCCESS;
}

}  // namespace ManagerSettings
