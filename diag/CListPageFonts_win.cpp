#include "diag/CListPageFonts.h"

#include "classlib/win/CFont.h"
#include "classlib/win/CWnd.h"
#include "forms/fonts/GetCachedFont.h"
#include "forms/fonts/MakeScaledLogFont.h"

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
    CFont* buttonFont = GetCachedFont(&fonts, m_page, "Verdana", 90, m_scaleX, m_scaleY);
    CFont* textFont = GetCachedFont(&fonts, m_page, "Verdana", 85, m_scaleX, m_scaleY);
    if (buttonFont == nullptr || textFont == nullptr) {
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
