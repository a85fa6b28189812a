// Whole-file reading and replacing writes over the class library's CFile.
#include "link/CWholeFile.h"

#include "classlib/core/CExceptionGuard.h"
#include "classlib/core/CFile.h"
#include "classlib/core/CFileException.h"
#include "classlib/core/CString.h"

#include <cstdio>

namespace {

// The new contents go to this file beside the target until they are complete.
CString TemporaryPathFor(LPCSTR path) {
    return CString(path) + ".new";
}

int CauseOf(CException* exception) {
    const CFileException* fileError = dynamic_cast<const CFileException*>(exception);
    return fileError ? fileError->m_cause : CFileException::genericException;
}

// Writes and closes; false with the cause when either throws.
bool WriteAndClose(CFile& file, const std::vector<BYTE>& contents, int& cause) {
    try {
        if (!contents.empty()) {
            file.Write(contents.data(), static_cast<UINT>(contents.size()));
        }
        file.Close();
        return true;
    } catch (CException* caught) {
        CExceptionGuard error(caught);
        cause = CauseOf(error.Get());
        file.Abort();
        return false;
    }
}

}  // namespace

CWholeFile::Result CWholeFile::Read(LPCSTR path,
                                    std::size_t minBytesExclusive,
                                    std::size_t maxBytes,
                                    std::vector<BYTE>& contents,
                                    int& cause) {
    cause = 0;
    CFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        cause = openError.m_cause;
        return Result::OpenFailed;
    }
    try {
        const ULONGLONG size = file.GetLength();
        if (size <= minBytesExclusive || size > maxBytes) {
            file.Close();
            return Result::BadSize;
        }
        std::vector<BYTE> buffer(static_cast<std::size_t>(size));
        if (file.Read(buffer.data(), static_cast<UINT>(buffer.size())) != buffer.size()) {
            AfxThrowFileException(CFileException::endOfFile, -1, path);
        }
        file.Close();
        contents.swap(buffer);
        return Result::Ok;
    } catch (CException* caught) {
        CExceptionGuard error(caught);
        cause = CauseOf(error.Get());
        file.Abort();
        return Result::ReadFailed;
    }
}

CWholeFile::Result CWholeFile::Read(LPCSTR path,
                                    const CFileFrame& frame,
                                    std::vector<BYTE>& contents,
                                    int& cause) {
    return Read(path, frame.GetMinBytesExclusive(), frame.GetMaxBytes(), contents, cause);
}

CWholeFile::WriteResult CWholeFile::Write(LPCSTR path, const std::vector<BYTE>& contents, int& cause) {
    cause = 0;
    const CString temporary = TemporaryPathFor(path);
    CFile file;
    CFileException openError;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite, &openError)) {
        cause = openError.m_cause;
        return WriteResult::CreateFailed;
    }
    WriteResult result = WriteResult::WriteFailed;
    if (WriteAndClose(file, contents, cause)) {
        result = Replace(temporary, path, cause) ? WriteResult::Ok : WriteResult::CreateFailed;
    }
    if (result != WriteResult::Ok) {
        // The half-written file is ours alone; if it cannot be removed either, the target is
        // still intact, which is what matters.
        std::remove(temporary);
    }
    return result;
}

int CWholeFile::Load(LPCSTR path,
                     const CFileFrame& frame,
                     int& cause,
                     const std::function<bool(const BYTE* file, std::size_t size)>& take) {
    std::vector<BYTE> file;
    if (Read(path, frame, file, cause) != Result::Ok) {
        return 0;
    }
    return take(file.data(), file.size()) ? 1 : 0;
}

int CWholeFile::Save(LPCSTR path, int& cause, const std::function<bool(std::vector<BYTE>& file)>& build) {
    cause = 0;
    std::vector<BYTE> file;
    if (!build(file)) {
        return 0;
    }
    return Write(path, file, cause) == WriteResult::Ok ? 1 : 0;
}
