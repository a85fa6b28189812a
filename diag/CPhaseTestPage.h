// The phase test page: reads and writes the settings of one of the unit's six test phases
// (element 109): the lambda in percent, whether gas is released or blocked, and the phase
// time in seconds. Its labels are the German texts of its template.
#pragma once

#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CEdit.h"
#include "forms/CScrollPage.h"
#include "link/IMessageTarget.h"
#include "res/ResourceIds.h"

#include <array>

class CPhaseTestPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_PHASE_TEST;

    static constexpr int kPhaseId = 2503;
    static constexpr int kLambdaId = 2505;
    static constexpr int kGasId = 2508;
    static constexpr int kTimeId = 2510;
    static constexpr int kSendId = 2512;

    static constexpr int kElement = 109;
    static constexpr int kWriteLength = 15;

    explicit CPhaseTestPage(CWnd* parent = nullptr);
    ~CPhaseTestPage() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    void OnPhaseSelected();
    void OnSend();
    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void SetFonts();
    void FillGasChoices();
    void ClearValues();
    void EnableValues(BOOL enable);
    // The write request: phase, lambda, gas, time low and high byte; the rest zero.
    void SendPhase(int phase, int lambda, int gas, int time);

    CComboBox m_phase;
    CEdit m_lambda;
    CComboBox m_gas;
    CEdit m_time;
    CButton m_send;

    // The data handler keeps only a pointer to a request's bytes until the request is sent,
    // so both live as long as the page.
    BYTE m_readRequest = 0;
    std::array<BYTE, kWriteLength> m_writeRequest{};
};
