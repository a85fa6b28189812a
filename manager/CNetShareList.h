// The local computer's shares, read through the network library loaded at run time. A missing
// library or entry point, or a refused enumeration, leaves the list empty.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CString.h"

#include <windows.h>

class CNetShareList {
public:
    // The library's entry points; tests put their own in.
    typedef DWORD(WINAPI* ShareEnumFn)(LPWSTR server,
                                       DWORD level,
                                       LPBYTE* buffer,
                                       DWORD maxLength,
                                       LPDWORD read,
                                       LPDWORD total,
                                       LPDWORD resume);
    typedef DWORD(WINAPI* BufferFreeFn)(LPVOID buffer);

    static CNetShareList& Instance();

    ~CNetShareList();
    CNetShareList(const CNetShareList&) = delete;
    CNetShareList& operator=(const CNetShareList&) = delete;

    // Re-reads the shares.
    void EnumShares();
    // A disk or print-queue share has exactly this path (case-insensitive).
    bool IsShared(const CString& path) const;

    int GetCount() const { return static_cast<int>(m_paths.GetSize()); }

    // Replaces the entry points (null restores the library's).
    void SetFunctions(ShareEnumFn shareEnum, BufferFreeFn bufferFree);

private:
    CNetShareList();
    void LoadLibraryFunctions();

    HMODULE m_library = nullptr;
    ShareEnumFn m_shareEnum = nullptr;
    BufferFreeFn m_bufferFree = nullptr;
    ShareEnumFn m_libraryShareEnum = nullptr;
    BufferFreeFn m_libraryBufferFree = nullptr;
    CStringArray m_paths;  // of the disk and print shares
};
