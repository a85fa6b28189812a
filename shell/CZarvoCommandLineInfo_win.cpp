#include "shell/CZarvoCommandLineInfo.h"

#include <cstring>

void CZarvoCommandLineInfo::ParseParam(LPCSTR param, BOOL isFlag, BOOL isLast) {
    // Case matters: "/NOSPLASH" is not this switch.
    if (isFlag && std::strcmp(param, "nosplash") == 0) {
        m_showSplash = FALSE;
        return;
    }
    CCommandLineInfo::ParseParam(param, isFlag, isLast);
}
