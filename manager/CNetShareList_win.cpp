#include "manager/CNetShareList.h"

#include "link/CLogger.h"

#include <lmcons.h>
#include <lmshare.h>

namespace {

constexpr DWORD kShareLevel = 502;
constexpr DWORD kNetSuccess = 0;
constexpr DWORD kDiskShare = 0;
constexpr DWORD kPrintShare = 1;

CString NarrowText(LPCWSTR text) {
    if (text == nullptr) {
        return CString();
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return CString();
    }
    CString narrow;
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.GetBufferSetLength(length - 1), length, nullptr, nullptr);
    narrow.ReleaseBuffer(length - 1);
    return narrow;
}

template <typename Function>
Function EntryPoint(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

CNetShareList& CNetShareList::Instance() {
    static CNetShareList list;
    return list;
}

CNetShareList::CNetShareList() {
    LoadLibraryFunctions();
}

CNetShareList::~CNetShareList() {
    if (m_library != nullptr) {
        FreeLibrary(m_library);
    }
}

void CNetShareList::LoadLibraryFunctions() {
    m_library = LoadLibraryA("NETAPI32.dll");
    if (m_library == nullptr) {
        CLogger::Instance().Log(1000, "CNetShareList: NETAPI32.dll is not available.");
        return;
    }
    m_libraryShareEnum = EntryPoint<ShareEnumFn>(m_library, "NetShareEnum");
    m_libraryBufferFree = EntryPoint<BufferFreeFn>(m_library, "NetApiBufferFree");
    m_shareEnum = m_libraryShareEnum;
    m_bufferFree = m_libraryBufferFree;
}

void CNetShareList::SetFunctions(ShareEnumFn shareEnum, BufferFreeFn bufferFree) {
    m_shareEnum = shareEnum != nullptr ? shareEnum : m_libraryShareEnum;
    m_bufferFree = bufferFree != nullptr ? bufferFree : m_libraryBufferFree;
}

// Only a successful enumeration counts: a refused one (not supported, no rights) may still
// report a total while it hands back no buffer.
void CNetShareList::EnumShares() {
    m_paths.RemoveAll();
    if (m_shareEnum == nullptr || m_bufferFree == nullptr) {
        return;
    }
    LPBYTE buffer = nullptr;
    DWORD read = 0;
    DWORD total = 0;
    const DWORD status =
        m_shareEnum(nullptr, kShareLevel, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr);
    if (status != kNetSuccess || buffer == nullptr) {
        if (buffer != nullptr) {
            m_bufferFree(buffer);
        }
        return;
    }
    const auto* shares = reinterpret_cast<const SHARE_INFO_502*>(buffer);
    for (DWORD i = 0; i < read; ++i) {
        const DWORD type = shares[i].shi502_type & 0xFF;
        if (type == kDiskShare || type == kPrintShare) {
            m_paths.Add(NarrowText(shares[i].shi502_path));
        }
    }
    m_bufferFree(buffer);
}

bool CNetShareList::IsShared(const CString& path) const {
    for (INT_PTR i = 0; i < m_paths.GetSize(); ++i) {
        if (m_paths[i].CompareNoCase(path) == 0) {
            return true;
        }
    }
    return false;
}
