// The common part of the shell's small captionless progress popups (the unit busy dialog
// and the retrieving dialog): a status line over a gliding bar, sized from the main
// window's scales and centred on the owner. The user cannot close them: Enter and Escape
// do nothing, only their owner or the unit ends them.
#pragma once

#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "forms/CTimedProgressCtrl.h"

class CFontCache;
class CResourceManager;

class CProgressPopupDlg : public CDialog {
public:
    static constexpr int kProgressId = 1075;
    static constexpr int kStatusTextId = 1079;

    CProgressPopupDlg(UINT templateId, UINT textId, short rangeUpper);

    void SetResourceManager(CResourceManager* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    // The bar's logical position, gliding; ignored while the dialog has no window.
    void SetProgress(int position);

    CTimedProgressCtrl& GetProgressCtrl() { return m_progress; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;
    void OnCancel() override;

    CStatic m_statusText;
    CTimedProgressCtrl m_progress;
    CResourceManager* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;

private:
    void Layout();

    UINT m_textId;
    short m_rangeUpper;
};
