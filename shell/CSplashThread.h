// The splash window's user-interface thread.
#pragma once

#include "shell/CPopupThread.h"

class CSplashThread : public CPopupThread {
public:
    explicit CSplashThread(CRuntimeClass* windowClass) : CPopupThread(windowClass) {}
};
