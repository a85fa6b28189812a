// The modal dialog (template 2025) that programs a loaded firmware patch into the connected
// unit and shows the progress. It drives the transfer itself through the command elements
// 113 to 116: each finished transfer (message 0x600) advances the steps by one, a connection
// status other than 2 and 4 (0x601) ends the run. Close, enabled once the run ended, ends the
// dialog with 1 when the patch was programmed, 2 after a lost connection and 3 when the unit
// refused it.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "firmware/CDataHandlerPatchLink.h"
#include "firmware/PatchDlgIds.h"
#include "firmware/PatchTransferMachine.h"
#include "forms/CTimedProgressCtrl.h"
#include "link/IMessageTarget.h"

class CDataHandler;
class CFirmwarePatch;
class CFontCache;
class ITextResources;

class CFirmwarePatchDlg : public CDialog, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_FIRMWARE_PATCH;
    static constexpr int kPhaseTextId = IDC_PATCH_PHASE;
    static constexpr int kProgressId = IDC_PATCH_PROGRESS;
    static constexpr int kStatusTextId = IDC_PATCH_STATUS;
    static constexpr int kCloseId = IDC_PATCH_CLOSE;

    explicit CFirmwarePatchDlg(CWnd* parent = nullptr);
    ~CFirmwarePatchDlg() override;

    void SetDataHandler(CDataHandler* dataHandler);  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    // The patch to program (not owned); it must outlive the run.
    void SetPatch(CFirmwarePatch* patch) { m_patch = patch; }

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    const PatchTransferMachine& GetTransfer() const { return m_transfer; }

    // IMessageTarget: the data handler's notices, from any thread. Dropped while the dialog
    // has no window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    // Enter, Escape and the close box never end the dialog.
    void OnOK() override;
    void OnCancel() override;

    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    void OnClose();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void DoLayout();
    void Subscribe();
    void Unsubscribe();
    void ShowTransfer();

    CStatic m_phaseText;
    CTimedProgressCtrl m_progress;
    CStatic m_statusText;
    CButton m_closeButton;
    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    CFirmwarePatch* m_patch = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    CDataHandlerPatchLink m_link;
    PatchTransferMachine m_transfer{m_link};
    int m_shownProgress = -1;
};
