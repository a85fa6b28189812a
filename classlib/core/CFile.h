// Binary file of the class library. Open reports failure through its result
// and the error record; every other operation throws a CFileException (by
// pointer) when it fails. The operating system part lives in CFile_win.cpp
// (real share modes) and CFile_posix.cpp (share modes approximated with flock,
// enough to report a file that another opener holds).
#pragma once

#include "classlib/core/CFileException.h"
#include "classlib/core/CObject.h"
#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)

public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,  // as shareExclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    enum SeekPosition : UINT {
        begin = 0,
        current = 1,
        end = 2,
    };

    static constexpr INT_PTR hFileNull = -1;

    CFile() = default;
    // Opens or throws the CFileException that Open would have filled.
    CFile(LPCSTR fileName, UINT openFlags);
    // Closes an open file; errors on this path are dropped, as a destructor cannot report them.
    ~CFile() override;

    // FALSE on failure, with the cause, the system error and the name in *error when given.
    virtual BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr);

    // Returns the bytes read, fewer than count only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    // Returns the new position; a position before the start throws badSeek.
    virtual LONG Seek(LONG offset, UINT from);
    void SeekToBegin();
    DWORD SeekToEnd();
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    // Cuts or extends the file and leaves the position at the new end.
    virtual void SetLength(DWORD newLength);
    virtual void Flush();
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();

    CString GetFilePath() const { return m_strFileName; }

    CString GetFileName() const;

    BOOL IsOpen() const { return m_hFile != hFileNull; }

    static void Remove(LPCSTR fileName);
    static void Rename(LPCSTR oldName, LPCSTR newName);

    INT_PTR m_hFile = hFileNull;  // file descriptor or HANDLE

protected:
    [[noreturn]] void ThrowCause(int cause) const;

    CString m_strFileName;

private:
    // Operating system part. OsOpen sets m_hFile or fills *error; the others throw.
    bool OsOpen(LPCSTR fileName, UINT openFlags, CFileException* error);
    UINT OsRead(void* buffer, UINT count);
    void OsWrite(const void* buffer, UINT count);
    LONGLONG OsSeek(LONGLONG offset, UINT from) const;
    DWORD OsGetLength() const;
    void OsSetLength(DWORD newLength);
    void OsFlush();
    // Closes m_hFile and clears it; a failure throws only when reportErrors is set.
    void OsClose(bool reportErrors);
    static void OsRemove(LPCSTR fileName);
    static void OsRename(LPCSTR oldName, LPCSTR newName);
};
