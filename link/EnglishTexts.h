// The English texts of the string-table entries that the data handler shows, for when no
// resource manager is wired (tests and tools) or a language lacks an entry.
#pragma once

#include "classlib/core/WinTypes.h"

// String-table ids of the data handler's messages.
constexpr UINT IDS_NEW_UNIT_CONNECTED = 15116;     // direction dialog message
constexpr UINT IDS_SAVE_BEFORE_OVERWRITE = 15117;  // Yes / No
constexpr UINT IDS_ERROR_OPENING_FILE = 15119;     // path, cause code
constexpr UINT IDS_ERROR_WRITING_FILE = 15120;     // path, cause code
constexpr UINT IDS_ERROR_READING_FILE = 15121;     // path, cause code
constexpr UINT IDS_INVALID_FILE_FORMAT = 15122;
constexpr UINT IDS_NOTHING_TO_SAVE = 15123;
constexpr UINT IDS_OLDER_FORMAT_CONVERTED = 15171;
constexpr UINT IDS_UPDATE_NOT_FOR_UNIT = 15203;      // unit major, minor; firmware major, minor
constexpr UINT IDS_PROTOCOL_INCOMPATIBLE = 15204;    // 1, 30; file protocol major, minor
constexpr UINT IDS_BOOTLOADER_NOT_FOR_UNIT = 15205;  // unit major, minor; bootloader major, minor
constexpr UINT IDS_UNTITLED = 15234;
constexpr UINT IDS_SAVED_FILE_DIFFERS = 15238;  // path; differing element ids follow
constexpr UINT IDS_EDITS_NOT_SENT = 15128;

// The English text of an id above; null for any other id.
LPCSTR GetEnglishText(UINT id);
