// ZFx Manager's settings in the registry: one key per program version,
// "Software\ZYLMOR\ZFx Viewer\v<major>.<minor>\Settings".
#pragma once

#include "classlib/core/CString.h"

namespace ManagerSettings {

CString KeyPath(int major, int minor);

// The REG_SZ value from the user's key, else from the machine's; false when neither has it.
// Reading creates no key.
bool ReadSetting(const CString& keyPath, LPCSTR name, CString& text);

// Stores text as REG_SZ in the user's key, creating the key when it is missing.
bool WriteSetting(const CString& keyPath, LPCSTR name, LPCSTR text);

}  // namespace ManagerSettings
