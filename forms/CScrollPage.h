// Base of every form page that a tab host shows: a modeless child dialog that carries the
// page's services and layout scale, handed in by the host before the window exists, fits
// itself into the display area of the host's tab control when it initialises, keeps Enter
// and Escape from ending the page, and scrolls vertically when its content is taller than
// the page.
#pragma once

#include "classlib/win/CDialog.h"

class CDataHandler;
class CFontCache;
class ITextResources;

class CScrollPage : public CDialog {
public:
    CScrollPage(UINT templateId, CWnd* parent);

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetTabCtrl(CWnd* tabCtrl) { m_tabCtrl = tabCtrl; }  // not owned

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    UINT GetTemplateId() const { return m_pageTemplateId; }

    // Called once the page has laid out its controls; a content taller than the page
    // gets a scroll range of 0..height with one page of the client height.
    void SetContentHeight(int height);

    // The topmost content pixel shown, 0..overflow.
    int GetScrollPosition() const { return m_scrollPos; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    // Enter (IDOK) and Escape (IDCANCEL) never end a page.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // A panel that a page holds works with the page's own services and scale.
    template <typename Panel>
    void LendServices(Panel& panel) const {
        panel.SetDataHandler(m_dataHandler);
        panel.SetResourceManager(m_resources);
        panel.SetFontCache(m_fonts);
        panel.SetScale(m_scaleX, m_scaleY);
    }

    void OnVScroll(UINT code, UINT position, CWnd* scrollBar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    CWnd* m_tabCtrl = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;

    DECLARE_MESSAGE_MAP()

private:
    void FitIntoTabCtrl();

    int ClientHeight() const { return m_clientRect.bottom - m_clientRect.top; }

    int Overflow() const;
    // The step of a scroll-bar code; FALSE when the code leaves the page where it is.
    BOOL ScrollBarStep(UINT code, UINT position, int* step) const;
    void ScrollBy(int step);

    UINT m_pageTemplateId;
    RECT m_clientRect = {};
    RECT m_contentRect = {};
    int m_scrollPos = 0;
};
