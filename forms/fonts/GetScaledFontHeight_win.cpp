// The measuring half of the scaled font height: heavy fonts created and measured on a DC.
#include "forms/fonts/GetScaledFontHeight.h"

#include "classlib/win/CDC.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CScopedSelect.h"
#include "link/CLogger.h"

#include <windows.h>

#include <cstring>

namespace {

// The heaviest weight: the search sizes the boldest text a page shows.
constexpr LONG kMeasureWeight = 900;

}  // namespace

int MeasureFontHeight(CDC* dc, const CString& faceName, int lfHeight) {
    if (dc == nullptr || dc->GetSafeHdc() == nullptr) {
        CLogger::Instance().Log(3000, "MeasureFontHeight: no DC");
        return 0;
    }
    LOGFONTA logFont;
    std::memset(&logFont, 0, sizeof(logFont));
    logFont.lfHeight = lfHeight;
    logFont.lfWeight = kMeasureWeight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    CFont font;
    if (!font.CreateFontIndirect(&logFont)) {
        return 0;
    }
    const CScopedSelect select(*dc, font);
    TEXTMETRICA metrics;
    if (!dc->GetTextMetrics(&metrics)) {
        CLogger::Instance().Log(3000, "GetTextMetrics: %lu", GetLastError());
        return 0;
    }
    return metrics.tmHeight;
}

int GetScaledFontHeight(CDC* dc, const CString& faceName, int sizeTenthsPoint, double scaleX, double scaleY) {
    return FindScaledFontHeight(sizeTenthsPoint, scaleX, scaleY, [dc, &faceName](std::int32_t lfHeight) {
        return MeasureFontHeight(dc, faceName, lfHeight);
    });
}
