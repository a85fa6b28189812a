// A file in memory: growing storage of its own, or a caller's buffer of fixed
// size attached to it. Open is not supported; everything else behaves as CFile.
#pragma once

#include "classlib/core/CFile.h"

#include <vector>

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)

public:
    explicit CMemFile(UINT growBytes = 1024);
    // Attaches buffer (not owned; it must outlive the file); the file holds size bytes.
    CMemFile(BYTE* buffer, UINT size);

    void Attach(BYTE* buffer, UINT size);

    BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    // Past the end of an attached buffer: throws CMemoryException, as the buffer cannot grow.
    void Write(const void* buffer, UINT count) override;
    LONG Seek(LONG offset, UINT from) override;

    DWORD GetPosition() const override { return m_position; }

    DWORD GetLength() const override { return m_length; }

    void SetLength(DWORD newLength) override;

    void Flush() override {}

    // Empties the file and lets an attached buffer go.
    void Close() override;

    void Abort() override { Close(); }

private:
    BYTE* Data();
    void EnsureCapacity(DWORD bytes);

    std::vector<BYTE> m_storage;
    BYTE* m_attached = nullptr;  // not owned
    DWORD m_attachedSize = 0;
    DWORD m_length = 0;
    DWORD m_position = 0;
};
