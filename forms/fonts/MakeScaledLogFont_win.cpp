#include "forms/fonts/MakeScaledLogFont.h"

#include "classlib/win/CClientDC.h"
#include "forms/fonts/GetScaledFontHeight.h"

#include <cstring>

LOGFONTA MakeScaledLogFont(CWnd* window,
                           const char* face,
                           int tenthsPoint,
                           int weight,
                           double scaleX,
                           double scaleY,
                           BYTE charSet) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof(font));
    {
        CClientDC dc(window);
        font.lfHeight = GetScaledFontHeight(&dc, face, tenthsPoint, scaleX, scaleY);
    }
    font.lfWeight = weight;
    font.lfCharSet = charSet;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}
