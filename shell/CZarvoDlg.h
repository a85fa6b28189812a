// The configurator's main menu dialog (template 102). It owns the program's long-lived
// services (communicator, data handler, resource manager, watchdog) and the connection
// status panel, wires them together when it opens, reacts to the link's broadcasts and
// shuts the services down in order when the program exits.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "link/CCommunicator.h"
#include "link/CDataHandler.h"
#include "link/CWatchDog.h"
#include "link/IMainWindow.h"
#include "shell/CConnStatusDlg.h"
#include "shell/CResourceManager.h"

class CZarvoDlg : public CDialog, public IMainWindow {
public:
    static constexpr UINT kTemplateId = 102;

    CZarvoDlg();
    ~CZarvoDlg() override;

    // The process clock (ms) when the program started.
    void SetStartTime(DWORD startTime) { m_startTime = startTime; }

    // IMainWindow: the data handler's view of the main window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;
    void SetModified(BOOL modified) override;
    void UpdateTitle() override;
    void SetFileName(LPCSTR fileName) override;

    // The orderly shutdown: stops the watchdog, then the communicator.
    void DoAtFinal();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    void OnSysCommand(UINT id, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    void OnExit();
    void OnClose();
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnFindInstance(WPARAM wParam, LPARAM lParam);
    LRESULT OnFullCtrlRead(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommunicatorDead(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    bool ConfirmExit();
    void ExitProgram(int result);
    void CreateStatusPanel();
    void SetTexts();
    void UpdateFirmwareButton(CButton& button, bool enable);

    // Template order: 1009, 1008, 1002, 1007, 1006, 1005, 1004, 1003, 1001, 1000.
    CButton m_patchButton;
    CButton m_updateButton;
    CButton m_languageButton;
    CButton m_restoreButton;
    CButton m_saveButton;
    CButton m_loadButton;
    CButton m_finalizeButton;
    CButton m_exitButton;
    CButton m_diagnosisButton;
    CButton m_configureButton;
    CCommunicator m_communicator;
    CDataHandler m_dataHandler;
    CResourceManager m_resources;
    CConnStatusDlg m_statusPanel;
    HICON m_icon = nullptr;
    int m_mode = 1;
    DWORD m_startTime = 0;
    int m_connectionStatus = 0;
    CWatchDog m_watchDog;
    CString m_modeName;
    CString m_fileName;
    BYTE m_modified = 0;
    BYTE m_exiting = 0;
    CCriticalSection m_exitLock;
    BYTE m_updateAllowed = 0;
    BYTE m_patchAllowed = 0;
};
