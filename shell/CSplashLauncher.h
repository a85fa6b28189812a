// Starts and ends the splash window's thread. The application owns one.
#pragma once

#include "shell/CPopupLauncher.h"

struct CRuntimeClass;

class CSplashLauncher : public CPopupLauncher {
public:
    // Starts a splash of windowClass (a CSplashWnd); false when one runs already or the
    // thread could not be started.
    bool Show(CRuntimeClass* windowClass);
    // Close with the application's main window to activate.
    bool Hide() { return Close(nullptr); }
};
