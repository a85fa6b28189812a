// How the data handler's file operations and connection check talk to the user: message
// boxes, the transfer direction dialog and the save dialog of the offer to save. The shell
// shows them (boxes titled with the program's name); tests answer them by script. UI thread only.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

// Answers of the transfer direction dialog.
constexpr int kTransferFromUnit = 1;  // "MCU -> Memory"
constexpr int kTransferCancel = 2;    // "Cancel"
constexpr int kTransferToUnit = 6;    // "Memory -> MCU"

class IUserPrompter {
public:
    enum class Box {
        Error,     // OK only
        Warning,   // OK only
        Question,  // Yes and No
    };

    virtual ~IUserPrompter() = default;
    // Shows the text; true when the user answered Yes (always false for OK-only boxes).
    virtual bool ShowMessage(LPCSTR text, Box box) = 0;
    // Runs the transfer direction dialog with the message; kTransferFromUnit,
    // kTransferToUnit or kTransferCancel.
    virtual int AskTransferDirection(LPCSTR message) = 0;
    // The save dialog for configuration files, offered the suggested name; false when the
    // user cancelled.
    virtual bool ChooseConfigFileToSave(LPCSTR suggestedName, CString& path) = 0;
};
