// "The MCU is busy. Please be patient ..." (template 116): follows the unit's job state,
// byte 3 of the engine status that the live polling reads every cycle, and ends itself
// when the job ends or the link drops. Registered with the data handler for its
// broadcasts for the program's lifetime; it has a window only while it runs modally.
#pragma once

#include "shell/CProgressPopupDlg.h"
// After the dialog headers, so that the system's PostMessage macro renames both alike.
#include "link/IMessageTarget.h"

#include <vector>

class CDataHandler;

class CBusyProgressDlg : public CProgressPopupDlg, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = 116;
    static constexpr short kJobDone = 200;

    // Results of the modal run.
    static constexpr int kResultJobEnded = 1;
    static constexpr int kResultAborted = 2;
    static constexpr int kResultLinkLost = 6;

    // What a job state asks of the dialog.
    enum class JobAction {
        Move,       // 0..200: the job's progress
        Stay,       // 240, 241
        End,        // 255: result 1
        EndFull,    // 254: the bar full, write-done cleared, result 1
        Abort,      // 253: result 2
        Fail,       // anything else: result 6
    };

    CBusyProgressDlg();
    ~CBusyProgressDlg() override;

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    static JobAction ActionOf(int jobState);

    int GetLastJobState() const { return m_lastJobState; }

    // IMessageTarget: the data handler's broadcasts, from any thread; dropped without window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

protected:
    BOOL OnInitDialog() override;

    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnLiveCycle(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void Finish(int result);

    CDataHandler* m_dataHandler = nullptr;
    std::vector<BYTE> m_engineStatus;
    int m_lastJobState = 255;
};
