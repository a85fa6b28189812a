// Remembered folders and files in the registry.
#include "link/RecentSettings.h"

#include "classlib/win/CRegistryKey.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

const char kDirectoriesSection[] = "Directories";
const char kFilesSection[] = "Files";
// Room the enumeration gives a value's name and data.
constexpr DWORD kMaxEnumChars = 260;

bool SetText(LPCSTR section, LPCSTR name, LPCSTR text) {
    CString path;
    CRegistryKey key;
    if (!GetSettingsKey(section, path) || key.Create(HKEY_CURRENT_USER, path, KEY_WRITE) != ERROR_SUCCESS) {
        return false;
    }
    return key.SetText(name, text) == ERROR_SUCCESS;
}

bool IsFolder(LPCSTR path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(LPCSTR path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

// The machine's value is only read, so its key is opened, never created: creating it there
// needs rights the user may not have.
bool ReadDirectorySetting(LPCSTR valueName, CString& folder) {
    CString path;
    if (!GetSettingsKey(kDirectoriesSection, path)) {
        return false;
    }
    CRegistryKey user;
    if (user.Create(HKEY_CURRENT_USER, path, KEY_READ) == ERROR_SUCCESS &&
        user.QueryText(valueName, folder) == ERROR_SUCCESS && IsFolder(folder)) {
        return true;
    }
    CRegistryKey machine;
    return machine.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) == ERROR_SUCCESS &&
           machine.QueryText(valueName, folder) == ERROR_SUCCESS && IsFolder(folder);
}

bool WriteDirectorySetting(LPCSTR valueName, LPCSTR folder) {
    return SetText(kDirectoriesSection, valueName, folder);
}

bool ReadRecentFileSetting(LPCSTR unitId, CString& path) {
    CString keyPath;
    CRegistryKey key;
    return GetSettingsKey(kFilesSection, keyPath) &&
           key.Create(HKEY_CURRENT_USER, keyPath, KEY_READ) == ERROR_SUCCESS &&
           key.QueryText(unitId, path) == ERROR_SUCCESS;
}

bool WriteRecentFileSetting(LPCSTR unitId, LPCSTR path) {
    return SetText(kFilesSection, unitId, path);
}

// The walk ends at the end of the values and at any error other than a value too long for
// the buffers, which is passed over: an error that repeats for every index (a key that
// could not be opened) would otherwise never end it.
void PruneRecentFiles() {
    CString keyPath;
    CRegistryKey key;
    if (!GetSettingsKey(kFilesSection, keyPath) ||
        key.Create(HKEY_CURRENT_USER, keyPath, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE) !=
            ERROR_SUCCESS) {
        return;
    }
    std::vector<std::string> gone;
    for (DWORD index = 0;; ++index) {
        char name[kMaxEnumChars + 1] = {};
        BYTE data[kMaxEnumChars + 1] = {};
        DWORD nameChars = kMaxEnumChars;
        DWORD dataBytes = kMaxEnumChars;
        DWORD type = 0;
        const LONG result =
            RegEnumValueA(key.Get(), index, name, &nameChars, nullptr, &type, data, &dataBytes);
        if (result == ERROR_MORE_DATA) {
            continue;
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        if (!IsFile(reinterpret_cast<const char*>(data))) {
            gone.emplace_back(name);
        }
    }
    for (const std::string& name : gone) {
        // A value that cannot be removed now is tried again at the next start.
        RegDeleteValueA(key.Get(), name.c_str());
    }
}
