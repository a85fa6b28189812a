// The configurator's open and save dialog: the file list in the details view, the dialog
// enlarged toward the middle of the main window so that all columns show, and the name
// column kept at its width as the user moves between folders.
#pragma once

#include "classlib/win/CFileDialog.h"
#include "shell/CFileDialogExt2ViewHook.h"

#include <memory>

class CFileDialogExt2 : public CFileDialog {
public:
    CFileDialogExt2(BOOL openFileDialog,
                    LPCSTR defaultExtension,
                    LPCSTR fileName,
                    DWORD flags,
                    LPCSTR filter,
                    CWnd* parent = nullptr);

    // The platform's dialog has the details view and its sizing of its own from major
    // version 6 on; below it the configurator takes these dialogs.
    static bool IsNeeded();

protected:
    BOOL OnInitDialog() override;
    void OnFolderChange() override;
    BOOL OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    HWND AttachViewHook();
    void SetUpView(WPARAM setUp);

    std::unique_ptr<CFileDialogExt2ViewHook> m_viewHook;
    HWND m_list = nullptr;
    int m_nameColumnWidth = 0;
};
