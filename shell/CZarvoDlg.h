// The configurator's main menu dialog (template 102). It owns the program's long-lived
// services (communicator, data handler, resource manager, watchdog), the connection status
// panel and the pages of the Configure and Diagnosis modes, wires them together when it
// opens, switches between the main menu and the two modes, routes keyboard commands to the
// active page, reacts to the link's broadcasts, runs the main menu's commands and shuts the
// services down in order when the program exits.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CFileDialog.h"
#include "config/CAdaptTablesPage.h"
#include "config/CConfigDynamic.h"
#include "config/CConfigStatus.h"
#include "config/CSettingsPage.h"
#include "diag/CDtcPage.h"
#include "diag/CEventLogPage.h"
#include "firmware/CFirmwareUpdateDlg.h"
#include "forms/fonts/CFontCache.h"
#include "forms/CImageButton.h"
#include "image/CxImage.h"
#include "link/CCommunicator.h"
#include "link/CDataHandler.h"
#include "link/CWatchDog.h"
#include "link/IMainWindow.h"
#include "link/IUserPrompter.h"
#include "shell/CBusyProgressDlg.h"
#include "shell/CChangeLanguageDlg.h"
#include "shell/CConnStatusDlg.h"
#include "shell/CModeNavigator.h"
#include "shell/CResourceManager.h"
#include "shell/CRetrieveDataDlg.h"
#include "shell/CTabHostDlg.h"
#include "shell/CTransferDirectionDlg.h"
#include "shell/CUnitInfoPage.h"
#include "shell/MainMenuLayout.h"

#include <memory>
#include <vector>

class CFirmwarePatch;
class CSlushLauncher;
class CSplashLauncher;

class CZarvoDlg : public CDialog, public IMainWindow, public IUserPrompter {
public:
    static constexpr UINT kTemplateId = 102;
    static constexpr UINT_PTR kUpdateTimerId = 1;
    static constexpr UINT kUpdateTimeoutMs = 4096;
    // The system-menu entry that opens the About box.
    static constexpr UINT kAboutCommand = 16;

    CZarvoDlg();
    ~CZarvoDlg() override;

    // The running splash (not owned), closed when the dialog is ready but no earlier than
    // 1500 ms after the start time (process clock, ms).
    void SetSplash(CSplashLauncher* splash, LONG startTime) {
        m_splash = splash;
        m_startTime = startTime;
    }

    // The application's busy-window launcher, shown by the shutdown (not owned).
    void SetBusyWindow(CSlushLauncher* busyWindow) { m_busyWindow = busyWindow; }

    // IMainWindow: the data handler's view of the main window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;
    void SetModified(BOOL modified) override;
    void UpdateTitle() override;
    void SetFileName(LPCSTR fileName) override;
    void SetEditsHeld(BOOL held) override;

    // IUserPrompter: the data handler's boxes and dialogs.
    bool ShowMessage(LPCSTR text, Box box) override;
    int AskTransferDirection(LPCSTR message) override;
    bool ChooseConfigFileToSave(LPCSTR suggestedName, CString& path) override;

    // Makes the next return to the main menu open this mode (2 Configure, 3 Diagnosis) at
    // this tab; the live status page's diagnosis button asks for the event log this way.
    void SetNextPage(int mode, int tab) { m_navigator.SetNextPage(mode, tab); }

    // The orderly shutdown: stops the watchdog, then the communicator.
    void DoAtFinal();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;
    virtual void PaintBackground(CDC* dc);

    void OnSysCommand(UINT id, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnConfigure();
    void OnDiagnosis();
    void OnExit();
    void OnClose();
    void OnFinalize();
    void OnRestore();
    void OnLoad();
    void OnSave();
    void OnLanguage();
    void OnFirmwareUpdate();
    void OnFirmwarePatch();
    void OnTimer(UINT_PTR id);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnFindInstance(WPARAM wParam, LPARAM lParam);
    LRESULT OnUnitBusy(WPARAM wParam, LPARAM lParam);
    LRESULT OnFullCtrlRead(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateProgress(WPARAM code, LPARAM perMille);
    LRESULT OnRetrieveProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommunicatorDead(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    bool ConfirmExit();
    void ExitProgram(int result);
    void CreateStatusPanel();
    void CreateLiveStatus();
    void CreateTabHosts();
    void CreateTabHost(CTabHostDlg& host, int bottomMargin);
    CTabHostDlg* HostOf(int mode);
    void HideMenu();
    void ShowMenu();
    void EnterMode(int mode);
    // The mode's name in the current language, for the title.
    void LoadModeName();
    void ShowHost(CTabHostDlg& host);
    void LeaveMode();
    void SelectTab(CTabHostDlg& host, int tab);
    void RouteAccelerator(WPARAM wParam, LPARAM lParam);
    LRESULT SendToActivePage(WPARAM wParam, LPARAM lParam);
    void CloseSplash();
    void Layout();
    void SetTexts();
    // The pictures of the top band (CZarvoDlgPictures_win.cpp): decoded once, scaled by
    // the layout, drawn by every paint.
    void LoadPictures();
    void ScalePictures(const MainMenuLayout& layout, int clientWidth);
    void DrawPictures(CDC& dc);
    void SetLanguageFlag();
    void ResetSystemMenu();
    void UpdateFirmwareButton(CButton& button, bool enable);
    void EndRetrieveDialog();
    // Runs a modal dialog of the main menu with the keyboard commands kept from the pages.
    INT_PTR RunModal(CDialog& dialog);
    // Ends the modal dialogs RunModal is running, the innermost first.
    void EndRunningDialogs();
    int Ask(UINT textId, UINT type);
    void ShowError(const CString& text);
    void ContinueFirmwareUpdate();
    void SetNormalMode();
    // preview: the dialog for a firmware update file, with the file's version history.
    bool ChooseFile(BOOL open,
                    UINT filterId,
                    LPCSTR extension,
                    LPCSTR name,
                    DWORD flags,
                    LPCSTR folderSetting,
                    CString& path,
                    bool preview = false);
    std::unique_ptr<CFileDialog> MakeFileDialog(BOOL open,
                                                LPCSTR extension,
                                                LPCSTR name,
                                                DWORD flags,
                                                LPCSTR filter,
                                                bool preview);
    bool CheckPatchIds(CFirmwarePatch& patch);

    // Template order: 1009, 1008, 1002, 1007, 1006, 1005, 1004, 1003, 1001, 1000.
    CButton m_patchButton;
    CButton m_updateButton;
    CImageButton m_languageButton;
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
    CFontCache m_fonts;
    CFirmwareUpdateDlg m_updateDialog;
    CBusyProgressDlg m_busyDialog;
    CRetrieveDataDlg m_retrieveDialog;
    CTransferDirectionDlg m_transferDialog;
    CConnStatusDlg m_statusPanel;
    CConfigStatus m_liveStatus;
    CTabHostDlg m_configureHost;
    CTabHostDlg m_diagnosisHost;
    CChangeLanguageDlg m_languageDialog;
    CSplashLauncher* m_splash = nullptr;
    CSlushLauncher* m_busyWindow = nullptr;
    HICON m_icon = nullptr;
    CModeNavigator m_navigator;
    std::vector<CDialog*> m_runningDialogs;  // innermost last, not owned
    int m_routing = 1;
    // Picture 183 (the emblem) and 185 (the banner) as decoded, and their scaled copies.
    CxImage m_emblem{kImageFormatPng};
    CxImage m_emblemScaled{kImageFormatPng};
    CxImage m_banner{kImageFormatPng};
    CxImage m_bannerScaled{kImageFormatPng};
    POINT m_emblemPosition = {};
    POINT m_bannerPosition = {};
    LONG m_startTime = 0;
    int m_connectionStatus = 0;
    UINT_PTR m_updateTimer = 0;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    CWatchDog m_watchDog;
    CString m_modeName;
    CString m_fileName;
    BYTE m_modified = 0;
    BYTE m_exiting = 0;
    CCriticalSection m_exitLock;
    BYTE m_updateAllowed = 0;
    BYTE m_patchAllowed = 0;
    CUnitInfoPage m_unitInfoPage;
    CSettingsPage m_settingsPage;
    CConfigDynamic m_mapPage;
    CAdaptTablesPage m_adaptTablesPage;
    CEventLogPage m_eventLogPage;
    CDtcPage m_dtcPage;
};
