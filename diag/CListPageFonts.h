// The fonts of the diagnosis pages that show lists (the trouble codes and the event log) at
// the page's scale: Arial 7.5 pt in the list cells and 7 pt in their tips, Verdana 9 pt on
// the buttons and 8.5 pt on the labels and texts.
#pragma once

#include <windows.h>

#include <initializer_list>

class CFontCache;
class CWnd;

class CListPageFonts {
public:
    CListPageFonts(CWnd* page, double scaleX, double scaleY);

    LOGFONTA CellFont() const;
    LOGFONTA TipFont() const;

    // The Verdana fonts from the cache onto the controls; false, and nothing set, when the
    // cache cannot make them.
    bool SetControlFonts(CFontCache& fonts,
                         std::initializer_list<CWnd*> buttons,
                         std::initializer_list<CWnd*> texts) const;

private:
    LOGFONTA Make(const char* face, int tenthsPoint, int weight) const;

    CWnd* m_page;
    double m_scaleX;
    double m_scaleY;
};
