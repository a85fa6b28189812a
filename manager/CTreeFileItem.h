// The data of one item of the file tree: its path, its name, what kind of item it is and,
// for network items, a copy of the network resource it stands for.
#pragma once

#include "classlib/core/CString.h"

#include <windows.h>

#include <memory>
#include <winnetwk.h>

class CTreeFileItem {
public:
    enum Kind {
        kDesktop = 0,
        kNetwork = 1,
        kMyDocuments = 2,
        kMyComputer = 3,
        kFileSystem = 4
    };

    CTreeFileItem() = default;
    CTreeFileItem(const CTreeFileItem& other);
    CTreeFileItem& operator=(const CTreeFileItem& other) = delete;

    // Keeps a deep copy of resource (its strings included).
    void SetNetResource(const NETRESOURCEA& resource);

    // The copied resource, or null; its strings belong to this item.
    const NETRESOURCEA* GetNetResource() const { return m_netResource ? &m_netResource->resource : nullptr; }

    CString m_path;
    CString m_displayName;
    int m_kind = kFileSystem;
    BYTE m_shellTitle = 0;  // the text is the shell's title, which hides the extension
    BYTE m_file = 0;

private:
    struct NetResourceCopy {
        NETRESOURCEA resource = {};
        CString localName;
        CString remoteName;
        CString comment;
        CString provider;
    };

    std::unique_ptr<NetResourceCopy> m_netResource;
};
