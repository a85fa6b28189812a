// A modeless child of the main dialog that holds a tab control and shows one form page
// per tab: the Configuration and the Diagnosis mode each have one. The main dialog places
// it, hands it the shared services, the scale and the pages before creating it; the host
// then creates the pages as its own children and keeps the visible page in step with the
// selected tab.
#pragma once

#include "classlib/win/CDialog.h"
#include "classlib/win/CTabCtrl.h"
#include "link/IMessageTarget.h"
#include "shell/CFrameButton.h"

#include <vector>

class CDataHandler;
class CFontCache;
class ITextResources;
class CScrollPage;

class CTabHostDlg : public CDialog, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = 2028;
    static constexpr int kCloseButtonId = 1314;
    static constexpr int kTabCtrlId = 1315;

    CTabHostDlg();
    ~CTabHostDlg() override;

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    // Where the host goes, in the main window's client coordinates.
    void SetPlacement(const RECT& placement) { m_placement = placement; }

    // The page is not owned; titleId is the string-table id of its tab.
    void AddPage(CScrollPage* page, UINT titleId);

    // Stores the index only: the tab selection stays as it is.
    void SetActivePage(int index) { m_activeIndex = index; }

    int GetActiveIndex() const { return m_activeIndex; }

    // Null when the active index is outside the pages.
    CScrollPage* GetActivePage() const;

    // The side of the close button for the small-caption button size: the smaller
    // dimension, made odd so that the glyph's cross has a centre pixel.
    static int CloseButtonSide(int smallCaptionWidth, int smallCaptionHeight);

    // IMessageTarget: the data handler's broadcasts, from any thread.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    void OnTabSelChange(NMHDR* header, LRESULT* result);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    void OnShowWindow(BOOL show, UINT status);
    void OnCloseClicked();
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    void SetTabFont();
    void PlaceCloseButton();
    void CreatePages();
    void ShowSelectedPage();

    CTabCtrl m_tabCtrl;
    CFrameButton m_closeButton;
    RECT m_placement = {};
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    int m_activeIndex = 0;
    std::vector<CScrollPage*> m_pages;  // not owned: members of the main dialog
    std::vector<UINT> m_titleIds;
};
