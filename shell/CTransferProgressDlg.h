// "Übertrage Daten ..." (template 2027): moves one numbered data block between a caller's
// buffer and the unit, step by step, through elements 117 (open and close the transfer)
// and 118 (one step), and shows the progress. Enter and Escape do nothing; Close ends it
// with 1 once the transfer has finished or failed.
#pragma once

#include "shell/CProgressDlgBase.h"

#include <vector>

class CTransferProgressDlg : public CProgressDlgBase {
public:
    static constexpr UINT kTemplateId = 2027;
    static constexpr int kProgressTextId = 1144;
    static constexpr int kProgressId = 1145;
    static constexpr int kStateTextId = 1079;
    static constexpr int kCloseId = 1077;
    static constexpr int kElementBlock = 117;
    static constexpr int kElementStep = 118;
    // What one step command of the unit carries, both ways.
    static constexpr int kBytesPerStep = 18;

    enum State {
        kOpening = 1,
        kFailed = 2,
        kFinished = 3,
        kStepping = 4,
    };

    explicit CTransferProgressDlg(CWnd* parent = nullptr);
    ~CTransferProgressDlg() override;

    // reading: from the unit into buffer (not owned), else from buffer to the unit. False,
    // and nothing set, unless bytesPerStep is the unit's step size and total is a whole
    // number of steps: a remainder would be dropped without a word.
    bool SetTransfer(bool reading, BYTE blockId, BYTE* buffer, int total, int bytesPerStep);

    int GetState() const { return m_state; }

protected:
    BOOL OnInitDialog() override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    void OnCloseButton();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void ShowProgress(UINT formatId);
    void ShowState(UINT textId);
    void QueueNextStep();
    void QueueBlockRecord(BYTE value);
    void WithdrawRequests();
    void Fail();

    bool m_reading = true;
    BYTE m_blockId = 0;
    BYTE* m_buffer = nullptr;
    int m_total = 0;
    int m_bytesPerStep = 1;
    int m_state = kOpening;
    int m_step = -1;
    int m_count = 0;
    int m_maximum = 2;
    std::vector<BYTE> m_request;
    std::vector<BYTE> m_receive;
};
