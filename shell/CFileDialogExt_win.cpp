#include "shell/CFileDialogExt.h"

#include "shell/CFileDialogExtView.h"

CFileDialogExt::CFileDialogExt(BOOL openFileDialog,
                               LPCSTR defaultExtension,
                               LPCSTR fileName,
                               DWORD flags,
                               LPCSTR filter,
                               CWnd* parent)
    : CFileDialog(openFileDialog, defaultExtension, fileName, flags, filter, parent) {
    EnableHook();
}

BOOL CFileDialogExt::OnInitDialog() {
    const BOOL result = CFileDialog::OnInitDialog();
    // The shell view exists only once the initialisation has ended.
    GetHookWnd().PostMessage(CFileDialogExtView::kSetUpMessage, 0, 0);
    return result;
}

BOOL CFileDialogExt::OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != CFileDialogExtView::kSetUpMessage) {
        return CFileDialog::OnHookMessage(message, wParam, lParam, result);
    }
    SetUpView();
    result = 0;
    return TRUE;
}

void CFileDialogExt::SetUpView() {
    const HWND dialog = GetCommonDialog();
    const HWND view = GetDlgItem(dialog, CFileDialogExtView::kShellViewId);
    if (view == nullptr) {
        return;
    }
    m_list = GetDlgItem(view, 1);
    SendMessageA(view, WM_COMMAND, CFileDialogExtView::kDetailsViewCommand, 0);
    m_nameColumnWidth = CFileDialogExtView::FitColumns(dialog, m_list);
}

void CFileDialogExt::OnFolderChange() {
    CFileDialogExtView::SetNameColumn(m_list, m_nameColumnWidth);
    CFileDialog::OnFolderChange();
}
