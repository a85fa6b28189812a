#include "shell/CFileDialogExt2.h"

#include "shell/CFileDialogExtView.h"

CFileDialogExt2::CFileDialogExt2(BOOL openFileDialog,
                                 LPCSTR defaultExtension,
                                 LPCSTR fileName,
                                 DWORD flags,
                                 LPCSTR filter,
                                 CWnd* parent)
    : CFileDialog(openFileDialog, defaultExtension, fileName, flags, filter, parent),
      m_viewHook(std::make_unique<CFileDialogExt2ViewHook>(this)) {
    EnableHook();
}

bool CFileDialogExt2::IsNeeded() {
    return LOBYTE(LOWORD(GetVersion())) < 6;
}

BOOL CFileDialogExt2::OnInitDialog() {
    const BOOL result = CFileDialog::OnInitDialog();
    // The shell view exists only once the initialisation has ended.
    GetHookWnd().PostMessage(CFileDialogExtView::kSetUpMessage, 1, 0);
    return result;
}

BOOL CFileDialogExt2::OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != CFileDialogExtView::kSetUpMessage) {
        return CFileDialog::OnHookMessage(message, wParam, lParam, result);
    }
    SetUpView(wParam);
    result = 0;
    return TRUE;
}

HWND CFileDialogExt2::AttachViewHook() {
    const HWND view = GetDlgItem(GetCommonDialog(), CFileDialogExtView::kShellViewId);
    if (!m_viewHook->IsAttached() && view != nullptr) {
        m_viewHook->SubclassWindow(view);
    }
    return view;
}

void CFileDialogExt2::SetUpView(WPARAM setUp) {
    const HWND view = AttachViewHook();
    if (setUp == 0 || view == nullptr) {
        return;
    }
    const HWND dialog = GetCommonDialog();
    SendMessageA(view, WM_COMMAND, CFileDialogExtView::kDetailsViewCommand, 0);
    SendMessageA(dialog, WM_COMMAND, CFileDialogExtView::kDialogDetailsCommand, 0);
    m_list = CFileDialogExtView::FindList(view);
    m_nameColumnWidth = CFileDialogExtView::FitColumns(dialog, m_list);
}

void CFileDialogExt2::OnFolderChange() {
    m_list = CFileDialogExtView::FindList(AttachViewHook());
    CFileDialogExtView::SetNameColumn(m_list, m_nameColumnWidth);
    CFileDialog::OnFolderChange();
}
