// Win32 part of CFile: CreateFileA with the share modes the flags ask for.
#include "classlib/core/CFile.h"

#include <windows.h>

namespace {

HANDLE Handle(INT_PTR handle) {
    return reinterpret_cast<HANDLE>(handle);
}

[[noreturn]] void ThrowLastError(LPCSTR fileName) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), fileName);
}

DWORD AccessFor(UINT openFlags) {
    switch (openFlags & 0x3) {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

DWORD ShareFor(UINT openFlags) {
    switch (openFlags & 0x70) {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;  // compatibility and exclusive mode deny everyone else
    }
}

DWORD CreationFor(UINT openFlags) {
    if ((openFlags & CFile::modeCreate) == 0) {
        return OPEN_EXISTING;
    }
    return (openFlags & CFile::modeNoTruncate) != 0 ? OPEN_ALWAYS : CREATE_ALWAYS;
}

}  // namespace

bool CFile::OsOpen(LPCSTR fileName, UINT openFlags, CFileException* error) {
    SECURITY_ATTRIBUTES security = {};
    security.nLength = sizeof security;
    security.bInheritHandle = (openFlags & modeNoInherit) == 0;
    const HANDLE handle = CreateFileA(fileName, AccessFor(openFlags), ShareFor(openFlags), &security,
                                      CreationFor(openFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const LONG osError = static_cast<LONG>(GetLastError());
        error->m_cause = CFileException::OsErrorToException(osError);
        error->m_lOsError = osError;
        return false;
    }
    m_hFile = reinterpret_cast<INT_PTR>(handle);
    return true;
}

UINT CFile::OsRead(void* buffer, UINT count) {
    DWORD got = 0;
    if (!ReadFile(Handle(m_hFile), buffer, count, &got, nullptr)) {
        ThrowLastError(m_strFileName);
    }
    return got;
}

void CFile::OsWrite(const void* buffer, UINT count) {
    DWORD put = 0;
    if (!WriteFile(Handle(m_hFile), buffer, count, &put, nullptr)) {
        ThrowLastError(m_strFileName);
    }
    if (put != count) {
        ThrowCause(CFileException::diskFull);
    }
}

LONGLONG CFile::OsSeek(LONGLONG offset, UINT from) const {
    static const DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(Handle(m_hFile), distance, &position, kMethod[from])) {
        ThrowLastError(m_strFileName);
    }
    return position.QuadPart;
}

DWORD CFile::OsGetLength() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(Handle(m_hFile), &size)) {
        ThrowLastError(m_strFileName);
    }
    return static_cast<DWORD>(size.QuadPart);
}

void CFile::OsSetLength(DWORD newLength) {
    OsSeek(newLength, begin);
    if (!SetEndOfFile(Handle(m_hFile))) {
        ThrowLastError(m_strFileName);
    }
}

void CFile::OsFlush() {
    if (!FlushFileBuffers(Handle(m_hFile))) {
        ThrowLastError(m_strFileName);
    }
}

void CFile::OsClose(bool reportErrors) {
    const HANDLE handle = Handle(m_hFile);
    m_hFile = hFileNull;
    if (!CloseHandle(handle) && reportErrors) {
        ThrowLastError(m_strFileName);
    }
}

void CFile::OsRemove(LPCSTR fileName) {
    if (!DeleteFileA(fileName)) {
        ThrowLastError(fileName);
    }
}

void CFile::OsRename(LPCSTR oldName, LPCSTR newName) {
    if (!MoveFileA(oldName, newName)) {
        ThrowLastError(oldName);
    }
}
