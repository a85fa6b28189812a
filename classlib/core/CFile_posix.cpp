// POSIX part of CFile. Share modes become flock locks taken without waiting:
// a mode that denies anything takes the exclusive lock, a reader that only
// denies writers and an opener that denies nothing take the shared lock. So
// a file held under an incompatible mode reports sharingViolation as on Windows.
#include "classlib/core/CFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Descriptor(INT_PTR handle) {
    return static_cast<int>(handle);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};

    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A missing folder on the way is a bad path, a missing last part a missing file,
// as Windows tells them apart.
int CauseOfErrno(int errnoValue, LPCSTR fileName) {
    if (errnoValue != ENOENT) {
        return CFileException::ErrnoToException(errnoValue);
    }
    const std::string path = fileName;
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || IsDirectory(slash == 0 ? "/" : path.substr(0, slash))) {
        return CFileException::fileNotFound;
    }
    return CFileException::badPath;
}

[[noreturn]] void ThrowErrno(int errnoValue, LPCSTR fileName) {
    AfxThrowFileException(CauseOfErrno(errnoValue, fileName), errnoValue, fileName);
}

int OpenFlagsFor(UINT openFlags) {
    int flags = O_CLOEXEC;
    switch (openFlags & 0x3) {
    case CFile::modeWrite:
        flags |= O_WRONLY;
        break;
    case CFile::modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    if ((openFlags & CFile::modeCreate) != 0) {
        flags |= O_CREAT;
    }
    return flags;
}

int LockFor(UINT openFlags) {
    const UINT share = openFlags & 0x70;
    const bool readOnly = (openFlags & 0x3) == CFile::modeRead;
    if (share == CFile::shareDenyNone || (share == CFile::shareDenyWrite && readOnly)) {
        return LOCK_SH;
    }
    return LOCK_EX;
}

}  // namespace

bool CFile::OsOpen(LPCSTR fileName, UINT openFlags, CFileException* error) {
    const int fd = ::open(fileName, OpenFlagsFor(openFlags), 0666);
    if (fd < 0) {
        const int openError = errno;
        error->m_cause = CauseOfErrno(openError, fileName);
        error->m_lOsError = openError;
        return false;
    }
    // Truncation waits for the lock, so that a file held by another opener keeps its data.
    const bool truncate = (openFlags & modeCreate) != 0 && (openFlags & modeNoTruncate) == 0;
    if (flock(fd, LockFor(openFlags) | LOCK_NB) != 0 || (truncate && ftruncate(fd, 0) != 0)) {
        const int lockError = errno;
        ::close(fd);
        error->m_cause = CauseOfErrno(lockError, fileName);
        error->m_lOsError = lockError;
        return false;
    }
    m_hFile = fd;
    return true;
}

UINT CFile::OsRead(void* buffer, UINT count) {
    auto* bytes = static_cast<char*>(buffer);
    UINT total = 0;
    while (total < count) {
        const ssize_t got = ::read(Descriptor(m_hFile), bytes + total, count - total);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ThrowErrno(errno, m_strFileName);
        }
        if (got == 0) {
            break;
        }
        total += static_cast<UINT>(got);
    }
    return total;
}

void CFile::OsWrite(const void* buffer, UINT count) {
    const auto* bytes = static_cast<const char*>(buffer);
    UINT total = 0;
    while (total < count) {
        const ssize_t put = ::write(Descriptor(m_hFile), bytes + total, count - total);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            ThrowErrno(errno, m_strFileName);
        }
        if (put == 0) {
            ThrowCause(CFileException::diskFull);
        }
        total += static_cast<UINT>(put);
    }
}

LONGLONG CFile::OsSeek(LONGLONG offset, UINT from) const {
    static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    const off_t position = ::lseek(Descriptor(m_hFile), static_cast<off_t>(offset), kWhence[from]);
    if (position < 0) {
        // A target before the start is the one EINVAL here.
        if (errno == EINVAL) {
            AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
        }
        ThrowErrno(errno, m_strFileName);
    }
    return position;
}

DWORD CFile::OsGetLength() const {
    struct stat info {};

    if (fstat(Descriptor(m_hFile), &info) != 0) {
        ThrowErrno(errno, m_strFileName);
    }
    return static_cast<DWORD>(info.st_size);
}

void CFile::OsSetLength(DWORD newLength) {
    if (ftruncate(Descriptor(m_hFile), static_cast<off_t>(newLength)) != 0) {
        ThrowErrno(errno, m_strFileName);
    }
    OsSeek(newLength, begin);
}

void CFile::OsFlush() {
    if (fsync(Descriptor(m_hFile)) != 0) {
        ThrowErrno(errno, m_strFileName);
    }
}

void CFile::OsClose(bool reportErrors) {
    const int fd = Descriptor(m_hFile);
    m_hFile = hFileNull;
    if (::close(fd) != 0 && reportErrors) {
        ThrowErrno(errno, m_strFileName);
    }
}

void CFile::OsRemove(LPCSTR fileName) {
    if (::unlink(fileName) != 0) {
        ThrowErrno(errno, fileName);
    }
}

void CFile::OsRename(LPCSTR oldName, LPCSTR newName) {
    // Never replaces an existing file, as on Windows.
    if (renameat2(AT_FDCWD, oldName, AT_FDCWD, newName, RENAME_NOREPLACE) == 0) {
        return;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        ThrowErrno(errno, oldName);
    }
    // File systems without the no-replace rename: check, then rename.
    if (::access(newName, F_OK) == 0) {
        ThrowErrno(EEXIST, newName);
    }
    if (::rename(oldName, newName) != 0) {
        ThrowErrno(errno, oldName);
    }
}
