#include "shell/CSplashLauncher.h"

#include "shell/CSplashThread.h"

bool CSplashLauncher::Show(CRuntimeClass* windowClass) {
    return Start(std::make_unique<CSplashThread>(windowClass));
}
