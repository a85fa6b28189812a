// The system's open and save dialogs. The filter is given as "name|pattern|...||", the
// form the string tables hold. A derived class that calls EnableHook gets the explorer-style
// child dialog as a window object and the dialog's CDN_* notifications as virtual calls.
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

    // The child dialog inside the common dialog while it runs (hook enabled), else empty.
    CWnd& GetHookWnd() { return m_hookWnd; }

    // The common dialog itself (the hook window's parent), or null when it is not running.
    HWND GetCommonDialog() const;

    // The filter with '|' turned into the terminators the system expects.
    static std::vector<char> ToSystemFilter(LPCSTR filter);

    OPENFILENAMEA m_ofn;

protected:
    // Routes the common dialog's child through this object; template names a dialog
    // resource of the program placed below the common dialog's controls, or null.
    void EnableHook(LPCSTR templateName = nullptr);

    // The hook window's initialisation; TRUE lets the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }

    // CDN_* notifications of the common dialog.
    virtual void OnFolderChange() {}

    virtual void OnFileNameChange() {}

    // Every other message of the hook window; TRUE when handled (result then answers it).
    virtual BOOL OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT_PTR HandleHookMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void HandleNotify(const OFNOTIFYA& notify);

    CWnd m_hookWnd;
    BOOL m_open;
    std::vector<char> m_filter;
    std::vector<char> m_path;
    CString m_defaultExtension;
    CString m_initialFolder;
};
