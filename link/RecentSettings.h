// Per-user memory of the folder last used for each kind of file ("Directories") and of the
// configuration file last used with each unit ("Files", keyed by the unit's 16-character
// identifier), kept in the registry under the key of the running program's version.
// Registry failures are not errors here: the callers go on without a folder or file.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

// Gives the running program's major and minor version, which name the registry key.
typedef void (*AppVersionSource)(int& major, int& minor);

// Value names of the remembered folders of configuration files and of update files.
constexpr char kSavesFolder[] = "Saves";
constexpr char kUpdatesFolder[] = "Updates";

// Set once at start-up; asked on every call. Until it is set nothing is read or written.
void SetAppVersionSource(AppVersionSource source);

// "Software\\ZYLMOR\\Merivan\\v<major>.<minor, two digits>\\<section>".
CString FormatSettingsKey(int major, int minor, LPCSTR section);
// The key of a section for the running program; false when no version source is set.
bool GetSettingsKey(LPCSTR section, CString& key);

// True only when a value was read and names an existing folder; the user's value first,
// then the machine's. `folder` may hold a text that is not a folder when the result is false.
bool ReadDirectorySetting(LPCSTR valueName, CString& folder);
bool WriteDirectorySetting(LPCSTR valueName, LPCSTR folder);
// True when the unit has a value (the path may be empty).
bool ReadRecentFileSetting(LPCSTR unitId, CString& path);
bool WriteRecentFileSetting(LPCSTR unitId, LPCSTR path);
// Removes the remembered files that no longer exist, empty paths included.
void PruneRecentFiles();
