// Base of every form page that a tab host shows: a modeless child dialog that carries the
// page's services and layout scale, handed in by the host before the window exists, and
// fits itself into the display area of the host's tab control when it initialises.
#pragma once

#include "classlib/win/CDialog.h"

class CDataHandler;
class CFontCache;
class CResourceManager;

class CScrollPage : public CDialog {
public:
    CScrollPage(UINT templateId, CWnd* parent);

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(CResourceManager* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetTabCtrl(CWnd* tabCtrl) { m_tabCtrl = tabCtrl; }  // not owned

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    UINT GetTemplateId() const { return m_pageTemplateId; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    CDataHandler* m_dataHandler = nullptr;
    CResourceManager* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    CWnd* m_tabCtrl = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;

private:
    void FitIntoTabCtrl();

    UINT m_pageTemplateId;
};
