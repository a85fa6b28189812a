// The OBD-II page: talks OBD-II to the car's engine control through the unit (request text
// into element 97, reply text out of element 99) and shows the MIL, the trouble-code count,
// the readiness monitors, the VIN, the OBD standard, the stored and pending trouble codes and
// a freeze frame of mode-01 values. No control starts a scan; its owner calls StartScan. UI
// thread only.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CStatic.h"
#include "diag/CObdScanner.h"
#include "diag/ObdPageIds.h"
#include "forms/CScrollPage.h"
#include "forms/CStaticExtended.h"
#include "grid/CGridCtrl.h"
#include "link/IMessageTarget.h"

#include <array>
#include <vector>

class CObdPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_OBD_PAGE;
    static constexpr int kMonitorCount = 11;
    static constexpr int kRequestElement = 97;
    static constexpr int kReplyElement = 99;
    static constexpr int kOfferElement = 79;

    explicit CObdPage(CWnd* parent = nullptr);
    ~CObdPage() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // Starts a scan from its first request; false (nothing sent) while a scan runs, when the
    // unit does not offer OBD or when the link is down.
    bool StartScan();

    int GetScanState() const { return m_scanner.GetState(); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    void OnCodeSelected(NMHDR* header, LRESULT* result);
    void OnUpdate();
    void OnClear();

    DECLARE_MESSAGE_MAP()

private:
    void CreateGrids();
    void SetUpCodeGrid(CGridCtrl& grid);
    void SetUpFreezeGrid();
    void UpdateTexts();
    void ClearDisplay();
    void MoveFocusOffButtons();

    void OnOfferChanged();
    void OnRequestSent(bool succeeded);
    void OnReplyRead(bool succeeded);
    void SendRequest();
    void AskForReply();
    void ShowStep(CObdScanner::Step step);

    void ShowMonitors(const CObdScanner::Monitors& monitors);
    void ShowMil(bool on);
    void ShowStandard(BYTE standard);
    void ShowCodes(CGridCtrl& grid, const std::vector<WORD>& codes);
    void ShowFreezeCode(WORD code);
    void AddFreezeRow(int pid, const std::vector<BYTE>& data);
    // A code's text, and its description after the separator when the table has one.
    CString CodeText(WORD code, const char* separator) const;
    CString InvalidCodeText(WORD code) const;

    CStaticExtended m_mil;
    CButton m_updateButton;
    CButton m_clearButton;
    CGridCtrl m_storedGrid;
    CGridCtrl m_pendingGrid;
    CGridCtrl m_freezeGrid;

    CObdScanner m_scanner;
    std::vector<WORD> m_storedCodes;
    std::vector<WORD> m_pendingCodes;
    bool m_obdOffered = false;
    // The request that the data handler sends from; it must live until the write is done.
    std::array<BYTE, 256> m_requestData{};
};
