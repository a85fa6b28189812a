// A font of the shared cache for a face and size at the main window's two scales, the
// height measured on the window's DC; any weight and character set unless asked for.
#pragma once

#include "classlib/win/CFont.h"
#include "classlib/win/CWnd.h"

class CFontCache;

// Null when there is no cache or the system refused the font.
CFont* GetCachedFont(CFontCache* fonts,
                     CWnd* window,
                     const char* face,
                     int tenthsPoint,
                     double scaleX,
                     double scaleY,
                     int weight = FW_DONTCARE,
                     BYTE charSet = DEFAULT_CHARSET);
