// An open or save dialog in the details view, enlarged so that the list's columns show.
// It finds its list once; CFileDialogExt2 follows the view as the folder changes.
#pragma once

#include "classlib/win/CFileDialog.h"

class CFileDialogExt : public CFileDialog {
public:
    CFileDialogExt(BOOL openFileDialog,
                   LPCSTR defaultExtension,
                   LPCSTR fileName,
                   DWORD flags,
                   LPCSTR filter,
                   CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnFolderChange() override;
    BOOL OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void SetUpView();

    HWND m_list = nullptr;
    int m_nameColumnWidth = 0;
};
