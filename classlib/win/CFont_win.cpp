// Fonts from a description or a point size.
#include "classlib/win/CFont.h"

#include <cstring>

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont) {
    if (logFont == nullptr) {
        return FALSE;
    }
    return TakeCreated(::CreateFontIndirectA(logFont), "CreateFontIndirect");
}

BOOL CFont::CreatePointFont(int heightTenthsOfPoint, LPCSTR faceName) {
    LOGFONTA logFont = {};
    const HDC screen = ::GetDC(nullptr);
    const int pixelsPerInch = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    logFont.lfHeight = -MulDiv(heightTenthsOfPoint, pixelsPerInch, 720);
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (faceName != nullptr) {
        std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    }
    return CreateFontIndirect(&logFont);
}

BOOL CFont::GetLogFont(LOGFONTA* logFont) const {
    if (logFont == nullptr) {
        return FALSE;
    }
    return GetObject(sizeof(LOGFONTA), logFont) == static_cast<int>(sizeof(LOGFONTA)) ? TRUE : FALSE;
}
