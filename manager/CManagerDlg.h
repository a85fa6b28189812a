// ZFx Manager's one window: the file tree on the left and, for the zipped update file or
// patch file selected in it, its type, versions and per-language descriptions. It runs in
// viewer mode: the editing buttons are hidden and the description is read-only.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CStatic.h"
#include "classlib/win/CToolTipCtrl.h"
#include "firmware/CFirmwarePatch.h"
#include "link/CDescriptionKeyList.h"
#include "manager/CFirmwareUpdateFile.h"
#include "manager/CTreeFileCtrl.h"
#include "manager/ViewerKeys.h"

class CSplashStarter;

class CManagerDlg : public CDialog {
public:
    enum FileKind {
        kNoFile = 0,
        kZippedFile = 1,
        kPatchFile = 2
    };

    explicit CManagerDlg(CWnd* parent = nullptr);

    // The running dialog answers this message with its id; a second start finds it so.
    static const UINT s_findInstanceMessage;

    // startTimeMs: the process clock when the start window was started; it stays up a
    // minimum time from then.
    void SetSplash(CSplashStarter* splash, LONG startTimeMs);

    void SetStartFile(const CString& path) { m_startFile = path; }

    // The registry key of "LatestPath"; the application sets it from its version.
    void SetSettingsKey(const CString& keyPath) { m_settingsKey = keyPath; }

    // Loads a zipped update file or a patch file and shows it; false for any other file and
    // for a file that does not load (ShowUnloadedFile then says why).
    bool OpenSelectedFile(const CString& path);

    FileKind GetLoadedKind() const { return m_loadedKind; }

    CTreeFileCtrl& GetTree() { return m_tree; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClose();
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnKeySelChange();
    void OnDescriptionKillFocus();
    void OnSave();
    void OnOpen();
    void OnAddKey();
    void OnDeleteKey();
    LRESULT OnTreeFileAction(WPARAM wParam, LPARAM lParam);
    LRESULT OnFindInstance(WPARAM wParam, LPARAM lParam);
    BOOL OnCopyData(CWnd* wnd, COPYDATASTRUCT* data);

    DECLARE_MESSAGE_MAP()

private:
    void ClearFileFields();
    void ShowUnloadedFile(const CString& path);
    void ShowFileInfo();
    void FillKeyList(CDescriptionKeyList::Mode mode);
    void ShowChosenDescription();
    void ShowFileName(const CString& path);
    void GetLoadedDescriptions(CMapStringToString& descriptions) const;
    void EnterViewerMode();
    void StopSplash();
    void CloseAfterAsking();
    void MakeZippedFile(const CString& source);

    CStatic m_protocolLabel;
    CStatic m_firmwareLabel;
    CStatic m_typeLabel;
    CStatic m_nameLabel;
    CStatic m_bootloaderLabel;
    CStatic m_keySummary;
    CStatic m_protocolValue;
    CStatic m_firmwareValue;
    CStatic m_typeValue;
    CStatic m_nameValue;
    CEdit m_description;
    CComboBox m_keyBox;
    CButton m_saveButton;
    CButton m_openButton;
    CButton m_addKeyButton;
    CButton m_deleteKeyButton;
    CStatic m_bootloaderValue;
    CTreeFileCtrl m_tree;
    HICON m_icon = nullptr;
    CSplashStarter* m_splash = nullptr;  // not owned
    LONG m_startTimeMs = 0;
    CString m_treePath = "C:\\";
    FileKind m_loadedKind = kNoFile;
    int m_loadCause = 0;  // of the last failed load, 0 when the file was read
    CFirmwareUpdateFile m_updateFile;
    CFirmwarePatch m_patchFile;
    CDescriptionKeyList m_keys = ViewerKeys::MakeList();
    CString m_loadedPath;
    CString m_startFile;
    CString m_settingsKey;
    CToolTipCtrl m_tooltip;
    CString m_tooltipText;
};
