// The modal dialog (template 2025) that programs a loaded firmware patch into the connected
// unit and shows the progress. It drives the transfer itself through the command elements
// 113 to 116: each finished transfer (message 0x600) advances the steps by one, a connection
// status other than 2 and 4 (0x601) ends the run. Close, enabled once the run ended, ends the
// dialog with 1 when the patch was programmed, 2 after a lost connection and 3 when the unit
// refused it.
#pragma once

#include "firmware/CDataHandlerPatchLink.h"
#include "firmware/PatchDlgIds.h"
#include "firmware/PatchTransferMachine.h"
#include "shell/CProgressDlgBase.h"

class CFirmwarePatch;

class CFirmwarePatchDlg : public CProgressDlgBase {
public:
    static constexpr UINT kTemplateId = IDD_FIRMWARE_PATCH;
    static constexpr int kPhaseTextId = IDC_PATCH_PHASE;
    static constexpr int kProgressId = IDC_PATCH_PROGRESS;
    static constexpr int kStatusTextId = IDC_PATCH_STATUS;
    static constexpr int kCloseId = IDC_PATCH_CLOSE;

    explicit CFirmwarePatchDlg(CWnd* parent = nullptr);
    ~CFirmwarePatchDlg() override;

    // Also the transfer's link to the unit.
    void SetDataHandler(CDataHandler* dataHandler) override;  // not owned

    // The patch to program (not owned); it must outlive the run.
    void SetPatch(CFirmwarePatch* patch) { m_patch = patch; }

    const PatchTransferMachine& GetTransfer() const { return m_transfer; }

protected:
    BOOL OnInitDialog() override;

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

    CFirmwarePatch* m_patch = nullptr;
    CDataHandlerPatchLink m_link;
    PatchTransferMachine m_transfer{m_link};
    int m_shownProgress = -1;
};
