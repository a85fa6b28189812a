// "Refresh target" (template 159): asks which way the data go when a unit is connected
// whose data differ from the configuration in hand. "MCU -> Memory" ends with 1,
// "Memory -> MCU" with 6, and "Cancel", offered only while the link is down, with 2.
// Enter and Escape do nothing.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "link/IUnitPrompter.h"

#include <atomic>

class CResourceManager;

class CTransferDirectionDlg : public CDialog, public IUnitPrompter {
public:
    static constexpr UINT kTemplateId = 159;
    static constexpr int kMessageId = 1093;
    static constexpr int kFromUnitId = 1119;
    static constexpr int kToUnitId = 1120;
    static constexpr int kCancelId = 1121;

    explicit CTransferDirectionDlg(CWnd* parent = nullptr);

    void SetResourceManager(CResourceManager* resources) { m_resources = resources; }  // not owned

    void SetMessage(LPCSTR message) { m_message = message; }

    // Whether the link is up when the dialog opens; later changes come through
    // AdjustTransferChoice.
    void SetLinkUp(bool linkUp) { m_linkUpAtOpen = linkUp; }

    // IUnitPrompter, on the communicator's thread: the buttons are changed by the dialog's
    // own thread, so a waiting UI thread cannot block the worker.
    void AdjustTransferChoice(bool linkUp) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;
    void OnCancel() override;

    void OnFromUnit();
    void OnToUnit();
    void OnCancelTransfer();
    LRESULT OnLinkChanged(WPARAM linkUp, LPARAM lParam);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void ShowChoice(bool linkUp);

    CButton m_fromUnitButton;
    CButton m_cancelButton;
    CButton m_toUnitButton;
    CStatic m_messageText;
    CResourceManager* m_resources = nullptr;
    CString m_message;
    bool m_linkUpAtOpen = true;
    std::atomic<HWND> m_window{nullptr};
};
