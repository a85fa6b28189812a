// "Übertrage Daten ..." (template 2027): moves one numbered data block between a caller's
// buffer and the unit, step by step, through elements 117 (open and close the transfer)
// and 118 (one step), and shows the progress. Enter and Escape do nothing; Close ends it
// with 1 once the transfer has finished or failed.
#pragma once

#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "forms/CTimedProgressCtrl.h"
// After the dialog headers, so that the system's PostMessage macro renames both alike.
#include "link/IMessageTarget.h"

#include <vector>

class CDataHandler;
class CFontCache;
class ITextResources;

class CTransferProgressDlg : public CDialog, public IMessageTarget {
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

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    // reading: from the unit into buffer (not owned), else from buffer to the unit. False,
    // and nothing set, unless bytesPerStep is the unit's step size and total is a whole
    // number of steps: a remainder would be dropped without a word.
    bool SetTransfer(bool reading, BYTE blockId, BYTE* buffer, int total, int bytesPerStep);

    int GetState() const { return m_state; }

    // IMessageTarget: the data handler's messages, from any thread; dropped without window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;
    void OnCancel() override;

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

    CTimedProgressCtrl m_progress;
    CStatic m_progressText;
    CStatic m_stateText;
    CButton m_closeButton;
    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
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
