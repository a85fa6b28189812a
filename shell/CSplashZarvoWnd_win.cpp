#include "shell/CSplashZarvoWnd.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CFont.h"
#include "forms/fonts/GetScaledFontHeight.h"
#include "res/ResourceIds.h"
#include "shell/CZarvoApp.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kFontTenths = 64;
constexpr const char* kFontFace = "MS Shell Dlg";
constexpr const char* kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr size_t kCompilerDateLength = 11;

}  // namespace

IMPLEMENT_DYNCREATE(CSplashZarvoWnd, CSplashWnd)

BEGIN_MESSAGE_MAP(CSplashZarvoWnd, CSplashWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSplashZarvoWnd::CSplashZarvoWnd() {
    SetBitmapResource(kBitmapId);
    SetTransparentColor(kDefaultTransparentColor);
    SetDraggable(FALSE);
    SetClassIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZARVO)));
}

CString CSplashZarvoWnd::BuildDate(const char* compilerDate) {
    CString date;
    if (compilerDate == nullptr || std::strlen(compilerDate) != kCompilerDateLength) {
        return date;
    }
    const CString text(compilerDate);
    const char* found = std::strstr(kMonths, static_cast<LPCSTR>(text.Left(3)));
    const int month = found != nullptr && (found - kMonths) % 3 == 0 ? static_cast<int>(found - kMonths) / 3 + 1 : 0;
    const int day = std::atoi(text.Mid(4, 2));
    date.Format("%s-%02d-%02d", static_cast<LPCSTR>(text.Right(4)), month, day);
    return date;
}

CString CSplashZarvoWnd::VersionLine(int major, int minor, int build, int revision, const CString& date) {
    CString line;
    line.Format("v%d.%02d suite %d build %04d ( %s )", major, minor, build, revision, static_cast<LPCSTR>(date));
    return line;
}

void CSplashZarvoWnd::OnPaint() {
    CSplashWnd::OnPaint();
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
    if (!ZarvoApp().GetAppVersion(major, minor, build, revision)) {
        return;
    }
    CClientDC dc(this);
    RECT area = {};
    GetClientRect(&area);
    const int inset = (area.bottom - area.top) / 16;
    area.top += inset;
    area.right -= inset;
    LOGFONTA request;
    std::memset(&request, 0, sizeof(request));
    request.lfHeight = GetScaledFontHeight(&dc, kFontFace, kFontTenths, 4.0 / 3.0, 1.0);
    request.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(request.lfFaceName, kFontFace);
    CFont font;
    if (!font.CreateFontIndirect(&request)) {
        return;
    }
    const HGDIOBJ previous = dc.SelectObject(&font);
    dc.DrawText(VersionLine(major, minor, build, revision, BuildDate(__DATE__)), &area,
                DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(previous);
}
