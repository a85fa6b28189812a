// The details list of an explorer-style file dialog, shared by the enlarged dialogs: grows
// the common dialog so that the list's columns and the middle of the main window fit, and
// widens the name column into the room won.
#pragma once

#include <windows.h>

class CFileDialogExtView {
public:
    // Message the dialogs post to themselves once the common dialog has built its view:
    // wParam 1 sets the view up, 0 only attaches the view hook again.
    static constexpr UINT kSetUpMessage = WM_USER + 0x240;
    // The common dialog's shell view, and its commands for the details view.
    static constexpr int kShellViewId = 1121;
    static constexpr WPARAM kDetailsViewCommand = 28716;
    static constexpr WPARAM kDialogDetailsCommand = 40966;

    // Grows commonDialog for list and sets the name column; the width it set.
    static int FitColumns(HWND commonDialog, HWND list);
    // Gives the name column the width kept from FitColumns; nothing without a list.
    static void SetNameColumn(HWND list, int width);
    static HWND FindList(HWND shellView);
};
