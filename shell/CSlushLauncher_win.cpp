#include "shell/CSlushLauncher.h"

#include "shell/CSlushThread.h"

bool CSlushLauncher::Show(CRuntimeClass* windowClass, LPCSTR message, double scaleX, double scaleY) {
    return Start(std::make_unique<CSlushThread>(windowClass, message, scaleX, scaleY));
}
