// The strip along the bottom of the main window (template 108): the connection status
// in colour, taken from the data handler's status broadcast, whether edits wait for the
// unit, and the program version.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "forms/CStaticExtended.h"
#include "link/IMessageTarget.h"

class CDataHandler;
class CFontCache;
class CResourceManager;

class CConnStatusDlg : public CDialog, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = 108;
    static constexpr int kStatusTextId = 1013;
    static constexpr int kVersionTextId = 1014;
    static constexpr UINT kEditsHeldTextId = 15127;

    CConnStatusDlg();
    ~CConnStatusDlg() override;

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(CResourceManager* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    // The data handler holds edits the unit has not taken yet; shown after the status.
    void SetEditsHeld(bool held);

    // IMessageTarget: the data handler's broadcasts, from any thread.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // The text id and colour shown for a status (anything outside 1..6: initialising).
    static UINT StatusTextId(int status);
    static COLORREF StatusColour(int status);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    void OnShowWindow(BOOL show, UINT status);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void ShowStatusText();

    CStatic m_versionText;
    CStaticExtended m_statusText;
    CDataHandler* m_dataHandler = nullptr;
    CResourceManager* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    int m_status = -1;
    int m_portNumber = 0;
    int m_baudRate = 9600;
    bool m_editsHeld = false;
};
