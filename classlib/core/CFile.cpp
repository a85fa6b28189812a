#include "classlib/core/CFile.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

constexpr UINT kAccessMask = 0x0003;
constexpr UINT kShareMask = 0x0070;

// Flags no backend can honour; checked before the system sees them.
bool AreFlagsValid(UINT openFlags) {
    return (openFlags & kAccessMask) != 3 && (openFlags & kShareMask) <= CFile::shareDenyNone;
}

}  // namespace

CFile::CFile(LPCSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) {
        throw new CFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
    }
}

CFile::~CFile() {
    if (IsOpen()) {
        OsClose(false);
    }
}

BOOL CFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
    if (error != nullptr) {
        error->m_cause = CFileException::none;
        error->m_lOsError = -1;
        error->m_strFileName = fileName;
    }
    const bool valid = fileName != nullptr && fileName[0] != '\0' && !IsOpen() && AreFlagsValid(openFlags);
    if (!valid) {
        if (error != nullptr) {
            error->m_cause = CFileException::genericException;
        }
        return FALSE;
    }
    CFileException osError(CFileException::none, -1, fileName);
    if (!OsOpen(fileName, openFlags & ~(typeText | typeBinary), &osError)) {
        if (error != nullptr) {
            error->m_cause = osError.m_cause;
            error->m_lOsError = osError.m_lOsError;
        }
        return FALSE;
    }
    m_strFileName = fileName;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    if (count == 0) {
        return 0;
    }
    return OsRead(buffer, count);
}

void CFile::Write(const void* buffer, UINT count) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    if (count == 0) {
        return;
    }
    OsWrite(buffer, count);
}

LONG CFile::Seek(LONG offset, UINT from) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    if (from > end) {
        ThrowCause(CFileException::badSeek);
    }
    return static_cast<LONG>(OsSeek(offset, from));
}

void CFile::SeekToBegin() {
    Seek(0, begin);
}

DWORD CFile::SeekToEnd() {
    return static_cast<DWORD>(Seek(0, end));
}

DWORD CFile::GetPosition() const {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    return static_cast<DWORD>(OsSeek(0, current));
}

DWORD CFile::GetLength() const {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    return OsGetLength();
}

void CFile::SetLength(DWORD newLength) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    OsSetLength(newLength);
}

void CFile::Flush() {
    if (!IsOpen()) {
        return;
    }
    OsFlush();
}

void CFile::Close() {
    if (!IsOpen()) {
        return;
    }
    OsClose(true);
}

void CFile::Abort() {
    if (IsOpen()) {
        // Abort is the path for a file already in trouble; a close error adds nothing.
        OsClose(false);
    }
}

CString CFile::GetFileName() const {
    const int slash = m_strFileName.FindOneOf("\\/");
    if (slash < 0) {
        return m_strFileName;
    }
    int last = slash;
    for (int i = slash; i < m_strFileName.GetLength(); ++i) {
        const char c = m_strFileName.GetAt(i);
        if (c == '\\' || c == '/') {
            last = i;
        }
    }
    return m_strFileName.Mid(last + 1);
}

void CFile::Remove(LPCSTR fileName) {
    OsRemove(fileName);
}

void CFile::Rename(LPCSTR oldName, LPCSTR newName) {
    OsRename(oldName, newName);
}

void CFile::ThrowCause(int cause) const {
    AfxThrowFileException(cause, -1, m_strFileName);
}
