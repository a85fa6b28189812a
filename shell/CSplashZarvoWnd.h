// The configurator's splash: bitmap 166 with magenta cut away, not draggable, and the
// program's version and build date in its top-right corner once the version is known.
#pragma once

#include "classlib/core/CString.h"
#include "shell/CSplashWnd.h"

class CSplashZarvoWnd : public CSplashWnd {
    DECLARE_DYNCREATE(CSplashZarvoWnd)

public:
    static constexpr WORD kBitmapId = 166;

    CSplashZarvoWnd();

    // "YYYY-MM-DD" from the compiler's date text ("Sep 24 2009"); empty for a text that is
    // not 11 characters long.
    static CString BuildDate(const char* compilerDate);
    // "v%d.%02d suite %d build %04d ( %s )".
    static CString VersionLine(int major, int minor, int build, int revision, const CString& date);

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()
};
