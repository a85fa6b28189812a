// Replacing a file natively: rename replaces the target in one step.
#include "classlib/core/CFileException.h"
#include "link/CWholeFile.h"

#include <cerrno>
#include <cstdio>

bool CWholeFile::Replace(LPCSTR source, LPCSTR target, int& cause) {
    if (std::rename(source, target) == 0) {
        return true;
    }
    cause = CFileException::ErrnoToException(errno);
    return false;
}
