// The modal dialog (template 186) that shows the upload of a new firmware while the
// communicator drives it in update mode. It sends nothing itself: the main window hands it
// the upload's progress reports (message 0x622) and the data handler posts it the
// connection status (0x601). The user can leave it only through Close, which is enabled
// once the upload has ended one way or the other.
#pragma once

#include "shell/CProgressDlgBase.h"

class CFirmwareUpdateDlg : public CProgressDlgBase {
public:
    static constexpr UINT kTemplateId = 186;
    static constexpr int kPhaseTextId = 1200;
    static constexpr int kProgressId = 1201;
    static constexpr int kStatusTextId = 1202;
    static constexpr int kCloseId = 1203;

    // Progress codes of message 0x622.
    static constexpr int kCodeWriteError = 1;
    static constexpr int kCodeBroken = 2;
    static constexpr int kCodeFinished = 3;
    static constexpr int kCodeWriting = 4;
    static constexpr int kCodeErasing = 5;

    explicit CFirmwareUpdateDlg(CWnd* parent = nullptr);
    ~CFirmwareUpdateDlg() override;

    // One progress report of the upload (code, bytes sent x 1000 / firmware size). The main
    // window calls it while this dialog's window exists.
    void OnUpdateProgress(int code, int perMille);

    // The last progress code reported in this run; 0 before the first.
    int GetLastCode() const { return m_lastCode; }

protected:
    BOOL OnInitDialog() override;

    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    void OnClose();

    DECLARE_MESSAGE_MAP()

private:
    void DoLayout();
    void SetTexts();
    void ShowStatus(UINT textId, bool enableClose);

    int m_lastCode = 0;
};
