// The font request a page makes for its controls: the face at tenthsPoint (80 is 8 pt)
// stretched with the page's two scale factors, measured on the window's DC.
#pragma once

#include <windows.h>

class CWnd;

LOGFONTA MakeScaledLogFont(CWnd* window,
                           const char* face,
                           int tenthsPoint,
                           int weight,
                           double scaleX,
                           double scaleY,
                           BYTE charSet = DEFAULT_CHARSET);
