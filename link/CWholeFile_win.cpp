// Replacing a file on Windows.
#include "link/CWholeFile.h"

#include "classlib/core/CFileException.h"

#include <windows.h>

bool CWholeFile::Replace(LPCSTR source, LPCSTR target, int& cause) {
    if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    cause = CFileException::OsErrorToException(static_cast<LONG>(GetLastError()));
    return false;
}
