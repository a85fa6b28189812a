// Starts and ends the busy box's thread. The application owns one.
#pragma once

#include "shell/CPopupLauncher.h"

struct CRuntimeClass;

class CSlushLauncher : public CPopupLauncher {
public:
    // Starts a box of windowClass (a CSlushWnd) with the format text and scales; false when
    // a box runs already or the thread could not be started.
    bool Show(CRuntimeClass* windowClass, LPCSTR message, double scaleX, double scaleY);
    // Close.
    bool Hide(CWnd* activate = nullptr) { return Close(activate); }
};
