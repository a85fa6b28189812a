// Watches the shell view of an enlarged file dialog. The common dialog builds a new view on
// every folder change; when the watched one goes, the hook lets go of it and asks the
// dialog to attach it to the next one.
#pragma once

#include "classlib/win/CWnd.h"

class CFileDialogExt2;

class CFileDialogExt2ViewHook : public CWnd {
public:
    explicit CFileDialogExt2ViewHook(CFileDialogExt2* dialog) : m_dialog(dialog) {}

    bool IsAttached() const { return GetSafeHwnd() != nullptr; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CFileDialogExt2* m_dialog;
};
