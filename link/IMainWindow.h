// What the data handler needs of the main window: a target for its messages, the
// modified mark, the title, the file name shown in it and the mark of edits that wait
// for the unit. The main dialog implements it; tests record it. Called on the UI thread,
// except PostMessage (any thread).
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/IMessageTarget.h"

class IMainWindow : public IMessageTarget {
public:
    virtual void SetModified(BOOL modified) = 0;
    // Rebuilds the caption from the file name and the modified mark.
    virtual void UpdateTitle() = 0;
    virtual void SetFileName(LPCSTR fileName) = 0;
    // Whether edits are held on the laptop because the unit could not take them yet.
    virtual void SetEditsHeld(BOOL held) = 0;
};
