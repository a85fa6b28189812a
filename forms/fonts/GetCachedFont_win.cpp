#include "forms/fonts/GetCachedFont.h"

#include "forms/fonts/CFontCache.h"
#include "forms/fonts/MakeScaledLogFont.h"

CFont* GetCachedFont(CFontCache* fonts,
                     CWnd* window,
                     const char* face,
                     int tenthsPoint,
                     double scaleX,
                     double scaleY,
                     int weight,
                     BYTE charSet) {
    if (fonts == nullptr) {
        return nullptr;
    }
    const LOGFONTA request = MakeScaledLogFont(window, face, tenthsPoint, weight, scaleX, scaleY, charSet);
    CFont* font = fonts->GetFont(&request);
    return font != nullptr && font->GetSafeHandle() != nullptr ? font : nullptr;
}
