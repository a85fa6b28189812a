// The system's open and save dialogs. The filter is given as "name|pattern|...||", the
// form the string tables hold.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CWnd.h"

#include <commdlg.h>

#include <vector>

class CFileDialog {
public:
    // defaultExtension and fileName may be null; flags are OFN_* options.
    CFileDialog(BOOL openFileDialog,
                LPCSTR defaultExtension,
                LPCSTR fileName,
                DWORD flags,
                LPCSTR filter,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // The folder the dialog opens in; empty: the system's choice.
    void SetInitialFolder(LPCSTR folder) { m_initialFolder = folder != nullptr ? folder : ""; }

    // IDOK when a file was chosen, else IDCANCEL.
    virtual INT_PTR DoModal();

    CString GetPathName() const { return CString(m_path.data()); }

    // The filter with '|' turned into the terminators the system expects.
    static std::vector<char> ToSystemFilter(LPCSTR filter);

    OPENFILENAMEA m_ofn;

private:
    BOOL m_open;
    std::vector<char> m_filter;
    std::vector<char> m_path;
    CString m_defaultExtension;
    CString m_initialFolder;
};
