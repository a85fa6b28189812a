#include "manager/CShellIconList.h"

#include "link/CLogger.h"

#include <shellapi.h>

CShellIconList& CShellIconList::Instance() {
    static CShellIconList list;
    return list;
}

CShellIconList::~CShellIconList() {
    m_list.Detach();
}

HIMAGELIST CShellIconList::GetHandle() {
    if (m_list.GetSafeHandle() != nullptr) {
        return m_list.GetSafeHandle();
    }
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    char root[4] = "C:\\";
    if (length >= 1 && length <= MAX_PATH) {
        root[0] = temp[0];
    }
    SHFILEINFOA info = {};
    const auto list = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(root, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (list == nullptr) {
        CLogger::Instance().Log(1000, "CShellIconList: the shell gave no image list.");
        return nullptr;
    }
    m_list.Attach(list);
    return list;
}
