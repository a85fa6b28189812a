// The system's small-icon image list, attached once for the whole process and detached (never
// destroyed: the system owns it) at the end. Every file tree uses it as its normal list.
#pragma once

#include "classlib/win/CImageList.h"

class CShellIconList {
public:
    static CShellIconList& Instance();

    ~CShellIconList();
    CShellIconList(const CShellIconList&) = delete;
    CShellIconList& operator=(const CShellIconList&) = delete;

    // The list, attached on first use; null when the shell gave none.
    HIMAGELIST GetHandle();

private:
    CShellIconList() = default;

    CImageList m_list;
};
