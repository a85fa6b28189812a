#include "firmware/FirmwareProgressLayout.h"

#include "classlib/core/FormatText.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/ITextResources.h"

namespace {

constexpr int kFontTenths = 80;

void CentreOnOwner(CDialog& dialog, CWnd* owner, int width, int height) {
    RECT area = {};
    if (owner != nullptr && owner->GetSafeHwnd() != nullptr) {
        owner->GetWindowRect(&area);
    } else {
        ::GetWindowRect(::GetDesktopWindow(), &area);
    }
    dialog.MoveWindow((area.left + area.right) / 2 - width / 2, (area.top + area.bottom) / 2 - height / 2,
                      width, height, TRUE);
}

}  // namespace

void LayOutFirmwareProgress(CDialog& dialog,
                            CWnd* owner,
                            const FirmwareProgressControls& controls,
                            CFontCache* fonts,
                            double scaleX,
                            double scaleY) {
    const int mx = ScaledLength(9, scaleX);
    const int my = ScaledLength(9, scaleY);
    const int line = ScaledLength(16, scaleY);
    const int gap4 = ScaledLength(4, scaleY);
    const int gap8 = ScaledLength(8, scaleY);
    const int buttonWidth = ScaledLength(70, scaleX);
    const int buttonHeight = ScaledLength(20, scaleY);

    CFont* font = GetCachedFont(fonts, &dialog, "Verdana", kFontTenths, scaleX, scaleY);
    CentreOnOwner(dialog, owner, ScaledLength(280, scaleX), ScaledLength(160, scaleY));

    RECT client = {};
    dialog.GetClientRect(&client);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    controls.phase.MoveWindow(mx, my, cw - 2 * mx, line, TRUE);
    controls.progress.MoveWindow(mx, my + line + gap4, cw - 2 * mx, line, TRUE);
    const int statusTop = my + line + gap4 + line + 2 * gap8;
    controls.status.MoveWindow(mx, statusTop, cw - 2 * mx, ch - statusTop - 2 * gap8 - buttonHeight - my,
                               TRUE);
    controls.close.MoveWindow(cw - buttonWidth - mx, ch - buttonHeight - my, buttonWidth, buttonHeight, TRUE);
    controls.close.EnableWindow(FALSE);
    if (font != nullptr) {
        const HFONT handle = *font;
        controls.phase.SetFont(handle, FALSE);
        controls.status.SetFont(handle, FALSE);
        controls.close.SetFont(handle, FALSE);
    }
}

void ShowFirmwarePhase(CStatic& phase, const ITextResources* resources, UINT formatId, int percent) {
    phase.SetWindowText(FormatText(LoadText(resources, formatId), percent));
}
