#include "shell/GetCachedFont.h"

#include "classlib/win/CClientDC.h"
#include "forms/CFontCache.h"
#include "forms/GetScaledFontHeight.h"

#include <cstring>

CFont* GetCachedFont(CFontCache* fonts, CWnd* window, const char* face, int tenthsPoint, double scaleX, double scaleY) {
    if (fonts == nullptr) {
        return nullptr;
    }
    CClientDC dc(window);
    LOGFONTA request;
    std::memset(&request, 0, sizeof(request));
    request.lfHeight = GetScaledFontHeight(&dc, face, tenthsPoint, scaleX, scaleY);
    request.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(request.lfFaceName, face, LF_FACESIZE - 1);
    CFont* font = fonts->GetFont(&request);
    return font != nullptr && font->GetSafeHandle() != nullptr ? font : nullptr;
}
