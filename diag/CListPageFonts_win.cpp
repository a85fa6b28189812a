#include "diag/CListPageFonts.h"

#include "classlib/win/CFont.h"
#include "classlib/win/CWnd.h"
#include "forms/fonts/CFontCache.h"
#include "forms/fonts/MakeScaledLogFont.h"

namespace {

bool HasHandle(const CFont* font) {
    return font != nullptr && font->GetSafeHandle() != nullptr;
}

}  // namespace

CListPageFonts::CListPageFonts(CWnd* page, double scaleX, double scaleY)
    : m_page(page), m_scaleX(scaleX), m_scaleY(scaleY) {}

LOGFONTA CListPageFonts::CellFont() const {
    return Make("Arial", 75, FW_NORMAL);
}

LOGFONTA CListPageFonts::TipFont() const {
    return Make("Arial", 70, 0);
}

bool CListPageFonts::SetControlFonts(CFontCache& fonts,
                                     std::initializer_list<CWnd*> buttons,
                                     std::initializer_list<CWnd*> texts) const {
    const LOGFONTA buttonRequest = Make("Verdana", 90, 0);
    const LOGFONTA textRequest = Make("Verdana", 85, 0);
    CFont* buttonFont = fonts.GetFont(&buttonRequest);
    CFont* textFont = fonts.GetFont(&textRequest);
    if (!HasHandle(buttonFont) || !HasHandle(textFont)) {
        return false;
    }
    for (CWnd* button : buttons) {
        button->SetFont(static_cast<HFONT>(*buttonFont), FALSE);
    }
    for (CWnd* text : texts) {
        text->SetFont(static_cast<HFONT>(*textFont), FALSE);
    }
    return true;
}

LOGFONTA CListPageFonts::Make(const char* face, int tenthsPoint, int weight) const {
    return MakeScaledLogFont(m_page, face, tenthsPoint, weight, m_scaleX, m_scaleY);
}
